#include "schedule/ConflictCopies.h"
#include "schedule/DataFileNames.h"

#include <QFile>

#include <cstdint>

// Last: its check() macro must not meet the toolkit's headers.
#include "fuzz/FuzzCheck.h"

// Input: a file name as the file system gives it. A name taken for a copy names a data file
// other than itself, and no data file is taken for a copy.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString name = QFile::decodeName(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const std::optional<QString> file = ConflictCopies::fileOf(name);
    if (file) {
        check(DataFileNames::parse(QStringView(*file)).has_value());
        check(*file != name);
    }
    if (DataFileNames::parse(QStringView(name)))
        check(!file);
    return 0;
}
