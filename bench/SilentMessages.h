#pragma once

#include "platform/MessageService.h"

// Answers every message box with OK and counts them: a benchmark whose run showed one measured
// a failure, not the work.
class SilentMessages final : public MessageService {
public:
    Answer show(const QString&, Icon, Buttons, const QString& = {}) override
    {
        ++shown;
        return Answer::Ok;
    }
    int shown = 0;
};

// One for the whole benchmark program.
inline SilentMessages& messages()
{
    static SilentMessages service;
    return service;
}
