// The code page table's cost. Built through ICU's windows-31j codec (decoding every lead/trail
// pair, asking the encoder for the pair of every shared character) it cost every start this much;
// ICU's converter is already open after the first round, so a cold start paid more. The table
// compiled into the program costs nothing at start; its lookups are measured against the built
// table's.
#include "platform/AnsiText.h"
#include "platform/Cp932Table.h"
#include "tools/cp932/Cp932IcuTable.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TableThroughIcu(benchmark::State& state)
{
    for (auto _ : state) {
        Cp932IcuTable table;
        benchmark::DoNotOptimize(table.encode(u'\u3042'));
    }
}
BENCHMARK(BM_TableThroughIcu)->Unit(benchmark::kMicrosecond);

// The characters of a Japanese day file through each table: the compiled one looks up in two
// steps where the built one took one.
const QString& dayText()
{
    static const QString text = [] {
        QString t;
        while (t.size() < 2048)
            t += QStringLiteral("打ち合わせ 10:00 ★締切 〜 ①②③ ﾃｽﾄ 会議室の予約、資料を印刷する。\r\n");
        return t;
    }();
    return text;
}

void BM_EncodeDayTextBuilt(benchmark::State& state)
{
    static const Cp932IcuTable table;
    for (auto _ : state) {
        unsigned sum = 0;
        for (QChar c : dayText())
            sum += table.encode(c.unicode());
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_EncodeDayTextBuilt)->Unit(benchmark::kMicrosecond);

void BM_EncodeDayTextCompiled(benchmark::State& state)
{
    for (auto _ : state) {
        unsigned sum = 0;
        for (QChar c : dayText())
            sum += Cp932Table::encode(c.unicode());
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_EncodeDayTextCompiled)->Unit(benchmark::kMicrosecond);

// What the table is for, so the build's cost can be set against a day file's read and write.
void BM_DecodeAndEncodeDayFile(benchmark::State& state)
{
    const QByteArray bytes = AnsiText::encode(dayText());
    for (auto _ : state) {
        const QString text = AnsiText::decode(bytes);
        benchmark::DoNotOptimize(AnsiText::encode(text));
    }
}
BENCHMARK(BM_DecodeAndEncodeDayFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
