#include "settings/widgets/ComponentImageFormat.h"

#include "settings/widgets/ComponentClasses.h"
#include "settings/widgets/ComponentValues.h"

#include <QWidget>

namespace ComponentImageFormat {

namespace {
// Stored properties images never carry: visibility and the updates switch follow the parent,
// window properties mean nothing for a control, the frame rectangle follows the geometry.
bool alwaysSkipped(QLatin1StringView name)
{
    return name == QLatin1String("objectName") || name == QLatin1String("visible") ||
           name == QLatin1String("updatesEnabled") || name == QLatin1String("frameRect") ||
           name.startsWith(QLatin1String("window"));
}
} // namespace

bool isStoredProperty(const TComponentClass& cls, const QMetaProperty& p)
{
    const QLatin1StringView name(p.name());
    return p.isReadable() && p.isWritable() && p.isStored() && !alwaysSkipped(name) &&
           !cls.skipped.contains(QString(name)) && KindOf(p).has_value();
}

bool explicitlyHidden(const QWidget* w)
{
    return w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->testAttribute(Qt::WA_WState_Hidden);
}

} // namespace ComponentImageFormat
