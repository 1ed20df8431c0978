#include "schedule/FileTextBaseline.h"

#include <QCryptographicHash>

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
    m_size = text.size();
    m_digest = digest(text);
    m_text.clear();
}

bool FileTextBaseline::fileHolds(QStringView text) const
{
    return m_state == State::Known && text.size() == m_size && digest(text) == m_digest;
}

bool FileTextBaseline::sameAs(const FileTextBaseline& other) const
{
    return m_state == State::Known && other.m_state == State::Known && m_size == other.m_size &&
           m_digest == other.m_digest;
}

QByteArray FileTextBaseline::digest(QStringView text)
{
    return QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(text.utf16()),
                                                   text.size() * qsizetype(sizeof(char16_t))),
                                    QCryptographicHash::Sha1);
}
