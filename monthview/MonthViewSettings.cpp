#include "monthview/MonthViewSettings.h"

#include "platform/ProfileFile.h"

namespace {
const QString kSection = QStringLiteral("M3Pos");
}

void MonthViewSettings::read(const ProfileBatch& ini)
{
    top = ini.getInt(kSection, QStringLiteral("Top"), top);
    left = ini.getInt(kSection, QStringLiteral("Left"), left);
    width = ini.getInt(kSection, QStringLiteral("Width"), width);
    height = ini.getInt(kSection, QStringLiteral("Height"), height);
    p1Width = ini.getInt(kSection, QStringLiteral("P1Width"), p1Width);
    p2Width = ini.getInt(kSection, QStringLiteral("P2Width"), p2Width);
}

void MonthViewSettings::write(ProfileBatch& ini) const
{
    if (positionKnown) {
        ini.putInt(kSection, QStringLiteral("Top"), top);
        ini.putInt(kSection, QStringLiteral("Left"), left);
    }
    ini.putInt(kSection, QStringLiteral("Width"), width);
    ini.putInt(kSection, QStringLiteral("Height"), height);
    ini.putInt(kSection, QStringLiteral("P1Width"), p1Width);
    ini.putInt(kSection, QStringLiteral("P2Width"), p2Width);
}
