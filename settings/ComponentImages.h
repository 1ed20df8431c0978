#pragma once

#include "platform/Failure.h"

class QIODevice;
class QWidget;

// A component image could not be written or read: a class outside the table, a damaged record.
class EFilerError : public EQuavError {
public:
    using EQuavError::EQuavError;
};

// Turns controls into byte images and back. The settings manager links no widget code, so the
// widget side hands an implementation to the manager.
class TComponentImages {
public:
    virtual ~TComponentImages() = default;
    // A top-level window is never stored or replaced.
    virtual bool IsForm(const QWidget* component) const = 0;
    // Writes the image at the stream's position; throws EFilerError for what cannot be stored.
    virtual void WriteComponentImage(QWidget* component, QIODevice& stream) const = 0;
    // Replaces the control by the one read from the stream's position and returns it. A damaged
    // image leaves the control as it was, names included, and gives null.
    virtual QWidget* ReadComponentImage(QIODevice& stream, QWidget* control) const = 0;
};
