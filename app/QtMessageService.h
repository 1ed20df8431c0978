#pragma once

#include "platform/MessageService.h"

// The real message boxes.
class QtMessageService final : public MessageService {
public:
    Answer show(const QString& text, Icon icon, Buttons buttons, const QString& caption = {}) override;
};
