// What the recovery journal costs. The keystroke path of a 1 MB page with and without the
// journal's hook, timed in alternation within one run; a journal write of 1 MB against writing
// the same bytes with an atomic replace, alternated the same way. Each reports the ratio.
#include "app/QuavApplication.h"
#include "schedule/RecoveryJournal.h"
#include "mainwindow/schedule.h"
#include "tests/support/MainFormParts.h"
#include "platform/AnsiText.h"
#include "platform/MessageService.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

using namespace MainFormParts;

namespace {

class SilentMessages final : public MessageService {
public:
    Answer show(const QString&, Icon, Buttons, const QString& = {}) override { return Answer::Ok; }
};

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// About 1 MB in code page 932: Japanese lines of an ordinary diary.
QString pageText()
{
    const QString line =
        QStringLiteral("今日は朝から会議があり、午後は資料をまとめた。明日の予定を確認する。\n");
    const qsizetype lineBytes = AnsiText::encode(line).size();
    return line.repeated(1024 * 1024 / lineBytes + 1);
}

void keystroke(QPlainTextEdit* memo)
{
    QTest::keyClick(memo, Qt::Key_A);
    memo->viewport()->repaint();
}

struct TypingWindow {
    QTemporaryDir data;
    QTemporaryDir journalRoot;
    std::unique_ptr<TMainForm> form;
    QPlainTextEdit* memo = nullptr;

    explicit TypingWindow(MessageService& messages, bool journal)
    {
        MainFormEnv env;
        env.iniPath = data.filePath(QStringLiteral("QuavScheduler.ini"));
        env.defaultDataFolder = data.path() + u'/';
        env.defaultEditorPath = QStringLiteral("/usr/bin/true");
        env.messages = &messages;
        env.recoveryRoot = journalRoot.path();
        form = std::make_unique<TMainForm>(env);
        form->show();
        while (!form->windowHandle() || !form->windowHandle()->isExposed())
            QCoreApplication::processEvents();
        memo = MainFormParts::memo(*form, "Memo2");
        pageTabs(*form)->setCurrentIndex(0);
        memo->setPlainText(pageText());
        memo->moveCursor(QTextCursor::End);
        if (!journal) // only the journal's hook listens to the whole-document change
            QObject::disconnect(memo->document(), &QTextDocument::contentsChanged, form.get(), nullptr);
        QCoreApplication::processEvents();
    }
};

void BM_Keystroke_1MBPage(benchmark::State& state)
{
    SilentMessages messages;
    TypingWindow with(messages, true);
    TypingWindow without(messages, false);
    Clock::duration withTime{}, withoutTime{};
    bool withFirst = true;
    for (auto _ : state) {
        // Alternating, and in turns going first, keeps both under the same load and caches.
        TypingWindow& first = withFirst ? with : without;
        TypingWindow& second = withFirst ? without : with;
        const auto t0 = Clock::now();
        keystroke(first.memo);
        const auto t1 = Clock::now();
        keystroke(second.memo);
        const auto t2 = Clock::now();
        (withFirst ? withTime : withoutTime) += t1 - t0;
        (withFirst ? withoutTime : withTime) += t2 - t1;
        withFirst = !withFirst;
    }
    state.counters["with_journal_us"] = seconds(withTime) * 1e6 / double(state.iterations());
    state.counters["without_us"] = seconds(withoutTime) * 1e6 / double(state.iterations());
    state.counters["ratio"] = seconds(withTime) / seconds(withoutTime);
}
BENCHMARK(BM_Keystroke_1MBPage)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_JournalWrite_1MB(benchmark::State& state)
{
    QTemporaryDir data;
    QTemporaryDir root;
    RecoveryJournal journal(root.path());
    RecoveryJournal::Entry entry;
    entry.target = data.filePath(QStringLiteral("20010203.txt"));
    entry.label = QStringLiteral("2001年02月03日の日誌");
    entry.page = 3;
    entry.taken = QDateTime::currentDateTime();
    entry.bytes = AnsiText::encode(pageText());
    const QString plain = data.filePath(QStringLiteral("plain.txt"));

    Clock::duration journaled{}, written{};
    char mark = 0;
    for (auto _ : state) {
        entry.bytes[0] = ++mark; // a new text each time, as after more typing
        const auto t0 = Clock::now();
        journal.put(entry);
        const auto t1 = Clock::now();
        AnsiText::writeBytes(plain, entry.bytes);
        const auto t2 = Clock::now();
        journaled += t1 - t0;
        written += t2 - t1;
    }
    state.counters["journal_ms"] = seconds(journaled) * 1e3 / double(state.iterations());
    state.counters["atomic_write_ms"] = seconds(written) * 1e3 / double(state.iterations());
    state.counters["ratio"] = seconds(journaled) / seconds(written);
}
BENCHMARK(BM_JournalWrite_1MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    SilentMessages messages;
    QuavApplication app(argc, argv, &messages);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
