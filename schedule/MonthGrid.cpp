#include "schedule/MonthGrid.h"

#include "platform/AnsiText.h"
#include "schedule/DayFiles.h"

#include <QFileInfo>

namespace MonthGrid {

std::optional<QByteArray> read(const QString& path)
{
    // A dangling link is a file that cannot be read, not a month without file.
    const QFileInfo file(path);
    if (!file.exists() && !file.isSymLink())
        return std::nullopt;
    return AnsiText::readBytes(path, DayFiles::kMonthSizeLimit);
}

} // namespace MonthGrid
