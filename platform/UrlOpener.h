#pragma once

#include <QString>

// Hands a web address, a "mailto:" address or a file to the desktop, which picks the program.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Fire and forget: whether a program was found is the desktop's business.
    virtual void open(const QString& target) = 0;
};
