#include "RecordingMessageService.h"

#include <QStringList>

MessageService::Answer RecordingMessageService::show(const QString& text, Icon icon, Buttons buttons,
                                                     const QString& caption)
{
    m_shown.append({text, icon, buttons, caption});
    if (m_whileShown)
        m_whileShown(m_shown.last());
    return m_answers.isEmpty() ? Answer::Ok : m_answers.takeFirst();
}

QStringList RecordingMessageService::texts() const
{
    QStringList out;
    for (const Shown& s : m_shown)
        out.append(s.text);
    return out;
}

int RecordingMessageService::count(const QString& text) const
{
    int n = 0;
    for (const Shown& s : m_shown)
        n += s.text == text ? 1 : 0;
    return n;
}
