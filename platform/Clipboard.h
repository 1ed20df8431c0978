#pragma once

#include <QString>

// The plain-text clipboard. A clipboard that cannot be opened, or that did not take the text,
// throws EQuavError carrying cannotOpenMessage(), so a command stops before it changes anything.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // True when the clipboard holds plain text, an empty one included.
    virtual bool hasText() const = 0;
    // The plain text, empty when the clipboard holds none.
    virtual QString text() const = 0;
    // Returns only once the clipboard holds exactly this text.
    virtual void setText(const QString& text) = 0;

    static QString cannotOpenMessage() { return QStringLiteral("クリップボードを開けません"); }
};
