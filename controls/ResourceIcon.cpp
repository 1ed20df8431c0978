#include "controls/ResourceIcon.h"

#include <QFile>

QIcon resourceIcon(const QString& path)
{
    QIcon icon;
    icon.addFile(path);
    const qsizetype dot = path.lastIndexOf(u'.');
    const QString stem = dot < 0 ? path : path.left(dot);
    const QString suffix = dot < 0 ? QString() : path.mid(dot);
    for (const QString& form : {QStringLiteral("@24"), QStringLiteral("@2x")}) {
        const QString larger = stem + form + suffix;
        if (QFile::exists(larger))
            icon.addFile(larger);
    }
    return icon;
}
