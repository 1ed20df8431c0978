#pragma once

#include "platform/MessageService.h"

#include <QPointer>

class QWidget;

// The real message boxes. Each is owned by the dialog or window in front, else by the main
// window set here, so it is never a window of its own whose closing could end the program.
class QtMessageService final : public MessageService {
public:
    Answer show(const QString& text, Icon icon, Buttons buttons, const QString& caption = {}) override;

    void setOwner(QWidget* owner) { m_owner = owner; }
    QWidget* boxParent() const;

private:
    QPointer<QWidget> m_owner;
};
