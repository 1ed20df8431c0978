#pragma once

#include "platform/MessageService.h"

#include <QList>
#include <QString>

#include <functional>

// Records every box it is asked to show and answers from a queue (Ok when the queue is empty).
class RecordingMessageService final : public MessageService {
public:
    struct Shown {
        QString text;
        Icon icon;
        Buttons buttons;
        QString caption;
    };

    Answer show(const QString& text, Icon icon, Buttons buttons, const QString& caption = {}) override;

    void answerNext(Answer answer) { m_answers.append(answer); }
    // Runs while a box is up, as the user would act before answering it.
    void whileShown(std::function<void(const Shown&)> action) { m_whileShown = std::move(action); }
    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const;
    int count(const QString& text) const;
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    QList<Answer> m_answers;
    std::function<void(const Shown&)> m_whileShown;
};
