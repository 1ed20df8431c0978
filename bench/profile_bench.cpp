// Settings access on a file shaped like QuavScheduler.ini (60 keys): one file access per value,
// as the main window does it, against one read and one write through ProfileBatch.
#include "platform/AnsiText.h"
#include "platform/IniText.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

namespace {

using Key = std::pair<QString, QString>;

std::vector<Key> settingsKeys()
{
    std::vector<Key> keys;
    for (const char* k :
         {"Top", "Left", "Width", "Height", "CalWidth", "CalHeight", "StartWeek", "ActivePage"})
        keys.emplace_back(QStringLiteral("Pos"), QLatin1String(k));
    keys.emplace_back(QStringLiteral("Cal"), QStringLiteral("SatColor"));
    keys.emplace_back(QStringLiteral("Cal"), QStringLiteral("SunColor"));
    for (int i = 0; i < 10; ++i) {
        keys.emplace_back(QStringLiteral("Cal"), QStringLiteral("MarkupStr%1").arg(i));
        keys.emplace_back(QStringLiteral("Cal"), QStringLiteral("MarkupColor%1").arg(i));
    }
    for (const char* k : {"CharSet", "FontStyleBold", "FontStyleItalic", "Editor1"})
        keys.emplace_back(QStringLiteral("Memo"), QLatin1String(k));
    keys.emplace_back(QStringLiteral("Data"), QStringLiteral("Folder"));
    for (int c = 0; c < 20; ++c)
        keys.emplace_back(QStringLiteral("Sheet"), QStringLiteral("ColWidth%1").arg(c));
    for (const char* k : {"_FontName", "_FontSize", "_FontColor", "_FontStyle", "_FontCharset"})
        keys.emplace_back(QStringLiteral("MemoFont"), QStringLiteral("prop") + QLatin1String(k));
    return keys;
}

QString valueFor(const Key& key, int round)
{
    if (key.second.startsWith(QLatin1String("MarkupStr")))
        return round % 2 ? QStringLiteral("★") : QStringLiteral("☆");
    if (key.first == QLatin1String("Memo") && key.second == QLatin1String("Editor1"))
        return QStringLiteral("C:\\WINDOWS\\notepad.exe");
    if (key.first == QLatin1String("Data"))
        return QStringLiteral("C:\\Program Files\\QuavScheduler\\予定\\");
    return QString::number(1000 + round);
}

class SettingsFile final {
public:
    SettingsFile()
    {
        IniText text;
        for (const Key& key : m_keys)
            text.setValue(key.first, key.second, valueFor(key, 0));
        AnsiText::writeBytes(path(), text.toBytes());
    }
    QString path() const { return QDir(m_dir.path()).filePath(QStringLiteral("QuavScheduler.ini")); }
    const std::vector<Key>& keys() const { return m_keys; }

private:
    QTemporaryDir m_dir;
    std::vector<Key> m_keys = settingsKeys();
};

void getOneValue(benchmark::State& state)
{
    const SettingsFile file;
    const Key& last = file.keys().back();
    for (auto _ : state)
        benchmark::DoNotOptimize(ProfileFile::getInt(file.path(), last.first, last.second, 0));
}

void putOneValue(benchmark::State& state)
{
    const SettingsFile file;
    const Key& last = file.keys().back();
    int round = 0;
    for (auto _ : state)
        ProfileFile::putInt(file.path(), last.first, last.second, ++round);
}

void readAllSingle(benchmark::State& state)
{
    const SettingsFile file;
    for (auto _ : state) {
        for (const Key& key : file.keys())
            benchmark::DoNotOptimize(ProfileFile::get(file.path(), key.first, key.second, {}));
    }
    state.SetItemsProcessed(state.iterations() * qint64(file.keys().size()));
}

void readAllBatch(benchmark::State& state)
{
    const SettingsFile file;
    for (auto _ : state) {
        const ProfileBatch batch(file.path());
        for (const Key& key : file.keys())
            benchmark::DoNotOptimize(batch.get(key.first, key.second, {}));
    }
    state.SetItemsProcessed(state.iterations() * qint64(file.keys().size()));
}

void writeAllSingle(benchmark::State& state)
{
    const SettingsFile file;
    int round = 0;
    for (auto _ : state) {
        ++round;
        for (const Key& key : file.keys())
            ProfileFile::put(file.path(), key.first, key.second, valueFor(key, round));
    }
    state.SetItemsProcessed(state.iterations() * qint64(file.keys().size()));
}

void writeAllBatch(benchmark::State& state)
{
    const SettingsFile file;
    int round = 0;
    for (auto _ : state) {
        ++round;
        ProfileBatch batch(file.path());
        for (const Key& key : file.keys())
            batch.put(key.first, key.second, valueFor(key, round));
        batch.commit();
    }
    state.SetItemsProcessed(state.iterations() * qint64(file.keys().size()));
}

void parseOnly(benchmark::State& state)
{
    const SettingsFile file;
    const QByteArray bytes = AnsiText::readBytes(file.path());
    for (auto _ : state)
        benchmark::DoNotOptimize(IniText::fromBytes(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(getOneValue);
BENCHMARK(putOneValue);
BENCHMARK(readAllSingle);
BENCHMARK(readAllBatch);
BENCHMARK(writeAllSingle);
BENCHMARK(writeAllBatch);
BENCHMARK(parseOnly);

BENCHMARK_MAIN();
