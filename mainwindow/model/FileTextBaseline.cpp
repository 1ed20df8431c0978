#include "mainwindow/model/FileTextBaseline.h"

#include <utility>

void FileTextBaseline::setMissing(QString shownInstead)
{
    m_state = State::Missing;
    m_text = std::move(shownInstead);
}

void FileTextBaseline::setUnreadable(QString shownInstead)
{
    m_state = State::Unreadable;
    m_text = std::move(shownInstead);
}

void FileTextBaseline::setKnown(QString text)
{
    m_state = State::Known;
    m_text = std::move(text);
}
