// Feeds outside bytes to the INI text model and checks what a caller relies on: lines survive a
// parse and write untouched, a put changes one place only and reads back, a remove removes.
#include "platform/AnsiText.h"
#include "platform/IniText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

// Last: its check() macro must not meet the toolkit's headers.
#include "fuzz/FuzzCheck.h"

namespace {

// The byte-level checks hold only where AnsiText keeps the text itself; its own fuzzer covers it.
bool roundTrips(const QString& text)
{
    return AnsiText::decode(AnsiText::encode(text)) == text;
}

// What a reader gets back for a written value, derived independently of storedValue().
QString expectedReadBack(const QString& value)
{
    QString v = value;
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar& c : v) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            c = u' ';
    }
    return IniText::cutToBytes(v, IniText::MaxValueBytes).toString();
}

// True when `after` equals `before` except for one run of at most `removed` lines replaced by at
// most `added` lines.
bool changedInOnePlace(const QStringList& before, const QStringList& after, qsizetype removed,
                       qsizetype added)
{
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return before.size() - head - tail <= removed && after.size() - head - tail <= added;
}

// True when `after` is `before` with some lines left out, the rest in order.
bool isSubsequence(const QStringList& after, const QStringList& before)
{
    qsizetype j = 0;
    for (const QString& line : before) {
        if (j < after.size() && after[j] == line)
            ++j;
    }
    return j == after.size();
}

// Names either typed by the fuzzer or taken from a key line of the file, so edits hit keys
// that exist.
void pickNames(FuzzedDataProvider& in, const IniText& ini, QString* section, QString* key)
{
    *section = AnsiText::decode(QByteArray::fromStdString(in.ConsumeRandomLengthString(32)));
    *key = AnsiText::decode(QByteArray::fromStdString(in.ConsumeRandomLengthString(32)));
    if (ini.lines().isEmpty() || !in.ConsumeBool())
        return;
    const qsizetype pick = in.ConsumeIntegralInRange<qsizetype>(0, ini.lines().size() - 1);
    QString lastSection;
    for (qsizetype i = 0; i <= pick; ++i) {
        const QStringView body = IniText::trimmed(ini.lines()[i]);
        if (body.startsWith(u'[') && body.indexOf(u']') > 0)
            lastSection = IniText::trimmed(body.sliced(1, body.indexOf(u']') - 1)).toString();
    }
    const QString& line = ini.lines()[pick];
    const qsizetype eq = line.indexOf(u'=');
    if (eq > 0 && !lastSection.isEmpty()) {
        *section = lastSection;
        *key = line.left(eq);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool remove = in.ConsumeBool();
    const QString value = AnsiText::decode(QByteArray::fromStdString(in.ConsumeRandomLengthString(4096)));
    const std::string fileHead = in.ConsumeRandomLengthString(size);
    const IniText original = IniText::fromBytes(QByteArrayView(fileHead.data(), qsizetype(fileHead.size())));
    QString section;
    QString key;
    pickNames(in, original, &section, &key);

    // Writing and reading back changes no line, neither as text nor through the encoding.
    const QString text = original.toString();
    check(IniText(text).lines() == original.lines());
    if (roundTrips(text))
        check(IniText::fromBytes(original.toBytes()).lines() == original.lines());
    check(text.endsWith(QLatin1String("\r\n")) || text.isEmpty());

    IniText edited = original;
    if (remove) {
        const bool removed = edited.remove(section, key);
        check(!edited.value(section, key).has_value());
        check(removed == (edited.lines().size() < original.lines().size()));
        check(removed == original.value(section, key).has_value());
        check(isSubsequence(edited.lines(), original.lines()));
    } else {
        const bool valid = IniText::isValidSection(section) && IniText::isValidKey(key);
        const bool changed = edited.setValue(section, key, value);
        if (!valid || !changed) {
            check(edited.lines() == original.lines());
        }
        if (valid) {
            const QString expected = expectedReadBack(value);
            check(edited.value(section, key) == expected);
            if (roundTrips(edited.toString()))
                check(IniText::fromBytes(edited.toBytes()).value(section, key) == expected);
            check(changedInOnePlace(original.lines(), edited.lines(), 1, 2));
        }
    }
    return 0;
}
