#include "controls/DesktopUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopUrlOpener::open(const QString& target)
{
    // A bare address ("www.example.org") is taken as a web address, as a shell would.
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

UrlOpener& DesktopUrlOpener::instance()
{
    static DesktopUrlOpener opener;
    return opener;
}
