#include "settings/Persistent.h"

#include "platform/Failure.h"

void TPersistent::Assign(const TPersistent* source)
{
    if (source)
        source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const
{
    dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const
{
    const QString sourceName = source ? source->ClassName() : QStringLiteral("nil");
    throw EConvertError(
        formatMessage(QStringLiteral("%s を %s に代入することはできません"), sourceName, ClassName()));
}
