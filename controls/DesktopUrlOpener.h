#pragma once

#include "platform/UrlOpener.h"

// The desktop's own opener (xdg-open and its kin on Linux).
class DesktopUrlOpener final : public UrlOpener {
public:
    void open(const QString& target) override;

    // The one the program uses where no other was handed in.
    static UrlOpener& instance();
};
