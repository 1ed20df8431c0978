#pragma once

#include "platform/UrlOpener.h"

#include <QStringList>

// Records what would have been handed to the desktop instead of opening it.
class RecordingUrlOpener final : public UrlOpener {
public:
    void open(const QString& target) override { opened.append(target); }
    QStringList opened;
};
