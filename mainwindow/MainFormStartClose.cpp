// Start-up, first show and close: the one place where the order of loading and saving is fixed.
#include "mainwindow/schedule.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/FontConvert.h"
#include "mainwindow/MonthCalendar.h"
#include "mainwindow/OptionDialogs.h"
#include "mainwindow/PageFiller.h"
#include "schedule/DataFileNames.h"
#include "schedule/DayFiles.h"
#include "schedule/MainSettings.h"
#include "schedule/RecoveryJournal.h"
#include "schedule/StoredGeometry.h"
#include "platform/Failure.h"
#include "platform/MessageService.h"
#include "platform/ProfileFile.h"
#include "settings/RegMng.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTextDocument>
#include <QScopedValueRollback>
#include <QTimer>

namespace {
// Reads a stored font with its colour as it was before: the stored colour text named no colour.
class FontFilerWithDefaultColor final : public TRegFiler {
public:
    using TRegFiler::TRegFiler;
    QString ReadValue(const QString& section, const QString& ident, const QString& def) override
    {
        if (ident.endsWith(QStringLiteral("_FontColor"), Qt::CaseInsensitive))
            return def;
        return TRegFiler::ReadValue(section, ident, def);
    }
};
} // namespace

TMainForm::TMainForm(MainFormEnv env, QWidget* parent) : QMainWindow(parent), m_env(std::move(env))
{
    Q_ASSERT(m_env.messages);
    Q_INIT_RESOURCE(resources);
    FontConvert::registerSubstitutions();
    MemoFont = FontConvert::defaultMemoFont();
    buildLayout();
    buildTrayIcon();
    setupRecovery();
    buildLiveFiles();
    m_filler = std::make_unique<PageFiller>([this](FilledPage& filled) { pageFilled(filled); });
    try {
        FormCreate();
    } catch (const EQuavError& failure) {
        // The window is shown as far as it was built.
        reportFailure(failure.message());
    }
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate()
{
    FirstShow = true;
    DataFolder = m_env.defaultDataFolder;
    const QDate today = m_env.now().date();
    setStatusDate(today);
    for (Page& page : m_pages)
        page.file.clear();
    EditorPath = m_env.defaultEditorPath.value_or(QString());
    m_editorSearched = m_env.defaultEditorPath.has_value();
    IniPath = m_env.iniPath;
    RegManager1->SetIniFileName(IniPath);

    // One read of the settings file serves every reader at start, the settings manager's too.
    m_startSettings = std::make_unique<ProfileBatch>(IniPath);
    RegManager1->SetIniStore(m_startSettings.get());
    {
        const auto fromFileAgain = qScopeGuard([this] { RegManager1->SetIniStore(nullptr); });
        readMemoFont();
        RegManager1->GetFiler(SettingsKeys::kColumnsItem).ReadStrings(Memo5);
        if (Memo5.isEmpty())
            Memo5 = {QStringLiteral("予定1"), QStringLiteral("予定2"), QStringLiteral("予定3")};
        readSettings(*m_startSettings);
        readHolidaySetting(*m_startSettings);
    }
    settleDataFolder();
    for (int k = 0; k < kMarkupCount; ++k)
        updateMarkupCaptions(k);
    MemoFont.Style = quint8((BoldStyle ? fsBold : 0) | (ItalicStyle ? fsItalic : 0));
    applyMemoFont();

    MonthCal->setSelectedDate(today);
    MonthFile = DayFiles::joinPath(DataFolder, DataFileNames::month(today));
    buildFileNames(today);
    for (const Pages::Page& page : Pages::all())
        if (!page.dated)
            m_pages[size_t(page.tab)].file = DayFiles::joinPath(DataFolder, Pages::fileName(page.tab, today));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    m_shownDate = today;
    LoadPages();
    try {
        LoadMonth();
    } catch (const EQuavError& failure) {
        // An unreadable month file must never be overwritten by an unfilled grid: show the
        // empty month, keep the file, and go on so the window is usable.
        NewMonth();
        m_monthBaseline.setUnreadable(monthText());
        reportFailure(failure.message());
    }
    setMonthLabel(today);
    StartDay = today.day();
    ApplyFirstDayOfWeek();
    MonthCalGetMonthInfo(MonthCal->yearShown(), MonthCal->monthShown());
}

void TMainForm::readMemoFont()
{
    const TFont defaults = MemoFont;
    TRegFiler& filer = RegManager1->GetFiler(SettingsKeys::kMemoFontItem);
    try {
        filer.ReadFont(MemoFont);
    } catch (const EConvertError& failure) {
        // One unreadable value costs only itself: say so once, read the rest with its default.
        reportFailure(failure.message());
        MemoFont = defaults;
        FontFilerWithDefaultColor fallback(RegManager1);
        fallback.SetItem(filer.Item());
        fallback.ReadFont(MemoFont);
    }
    m_memoFontRead = true;
}

void TMainForm::writeMemoFont(IniStore& ini)
{
    // A font that was never read is not written over the stored one.
    if (!m_memoFontRead)
        return;
    RegManager1->SetIniFileName(IniPath);
    RegManager1->SetIniStore(&ini);
    const auto fromFileAgain = qScopeGuard([this] { RegManager1->SetIniStore(nullptr); });
    RegManager1->GetFiler(SettingsKeys::kMemoFontItem).WriteFont(MemoFont);
}

void TMainForm::readSettings(const IniStore& ini)
{
    // The fields read from the keys the file lacks keep what the window holds now.
    MainSettings& s = m_settings;
    s.top = y();
    s.left = x();
    s.charSet = MemoFont.Charset;
    s.bold = MemoFont.Style & fsBold;
    s.italic = MemoFont.Style & fsItalic;
    const QString editorBefore = EditorPath;
    const bool placed = ini.get(SettingsKeys::kPos, SettingsKeys::kTop, QString()).size() > 0 ||
                        ini.get(SettingsKeys::kPos, SettingsKeys::kLeft, QString()).size() > 0;
    s.read(ini, int(Memo5.size()));

    // Without a stored position the window stays where the system places it; a stored one that
    // no screen shows any more is moved onto the nearest screen.
    const QSize size = StoredGeometry::usableSize({s.width, s.height});
    resize(size);
    if (placed) {
        QList<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens())
            screens.append(screen->availableGeometry());
        const QRect frame =
            StoredGeometry::onScreen(StoredGeometry::storedFrame(s.left, s.top, size), screens);
        move(frame.topLeft());
        resize(frame.size());
    }
    const int calWidth = StoredGeometry::usablePane(s.calWidth);
    const int calHeight = StoredGeometry::usablePane(s.calHeight);
    Splitter1->setSizes({calWidth, qMax(1, width() - calWidth - Splitter1->handleWidth())});
    Splitter2->setSizes({calHeight, qMax(30, height() - calHeight)});
    MemoFont.Charset = quint8(s.charSet);
    // An empty stored editor names none: an editor installed since is found again.
    const QString storedEditor = EditorPath;
    EditorPath = editorBefore;
    if (!storedEditor.isEmpty() && !keepStoredEditor(storedEditor))
        EditorPath = storedEditor;
    jvStringGrid1->setColCount(int(Memo5.size()) + 1);
    for (int c = 0; c < s.colWidths.size() && c < jvStringGrid1->ColCount(); ++c)
        jvStringGrid1->setColWidths(c, StoredGeometry::usableColWidth(s.colWidths[c]));
    if (s.activePage >= 0 && s.activePage < Page1->count())
        Page1->setCurrentIndex(s.activePage);
    m_settingsRead = true;
}

void TMainForm::writeSettings(IniStore& ini)
{
    // A start-up that ended before the settings were read must not store its defaults over
    // them: the data folder among them.
    if (!m_settingsRead)
        return;
    // The window's own state as it stands; the place, sizes, font style and the stored texts of
    // a folder or editor that had a stand-in this run are taken now.
    MainSettings s = m_settings;
    const QRect frame = frameGeometry();
    s.top = frame.top();
    s.left = frame.left();
    s.width = width();
    s.height = height();
    s.calWidth = Panel2->width();
    s.calHeight = MonthCal->height();
    s.charSet = MemoFont.Charset;
    s.bold = MemoFont.Style & fsBold;
    s.italic = MemoFont.Style & fsItalic;
    s.editorPath = storedEditorPath();
    s.dataFolder = storedDataFolder();
    s.colWidths.clear();
    for (int c = 0; c <= Memo5.size() && c < jvStringGrid1->ColCount(); ++c)
        s.colWidths.append(jvStringGrid1->ColWidths(c));
    s.activePage = Page1->currentIndex();
    s.positionKnown = m_env.windowPositionsKnown;
    s.write(ini);
}

void TMainForm::storeClosingSettings(IniStore& ini,
                                     const std::function<void(const std::function<void()>&)>& step)
{
    step([&] { writeSettings(ini); });
    step([&] { writeHolidaySetting(ini); });
    step([&] { writeMemoFont(ini); });
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    try {
        FormShow();
    } catch (const EQuavError& failure) {
        reportFailure(failure.message());
    }
}

void TMainForm::FormShow()
{
    if (!FirstShow)
        return;
    FirstShow = false;
    // From here on the file may change: later readers read it again.
    m_startSettings.reset();
    if (StartDay < jvStringGrid1->RowCount())
        jvStringGrid1->setRow(StartDay);
    watchShownFiles();
    // Asked once the window stands, so the question has something to belong to.
    QTimer::singleShot(0, this, &TMainForm::offerRecovery);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (m_closedUnattended || FormCloseQuery()) {
        event->accept();
        closeSearch();
        Q_EMIT closed();
    } else {
        event->ignore();
    }
}

bool TMainForm::FormCloseQuery()
{
    const QScopedValueRollback closing(m_closing, true);
    // Every step runs even when an earlier one failed, so a settings file that cannot be
    // written never costs the user the month or the pages.
    bool ok = true;
    const auto fail = [&](const EQuavError& failure) {
        if (!m_unattended) // nobody could answer the report
            reportFailure(failure.message());
        ok = false;
    };
    const auto step = [&](auto&& run) {
        try {
            run();
        } catch (const EQuavError& failure) {
            fail(failure);
        }
    };
    // The settings steps store into one copy of the file, which is written in one replace where
    // the first of them wrote: the same bytes as when each step wrote the file on its own.
    ProfileBatch ini(IniPath);
    int stepsWithChanges = 0;
    storeClosingSettings(ini, [&](const std::function<void()>& run) {
        const int before = ini.changeCount();
        step(run);
        if (ini.changeCount() != before)
            ++stepsWithChanges;
    });
    try {
        ini.commit();
    } catch (const EQuavError& failure) {
        // Written one by one, each step with something to store met the failure itself.
        for (int i = 0; i < stepsWithChanges; ++i)
            fail(failure);
    }
    step([this] { SaveMonth(); });
    const SaveOutcome pages = SavePages();
    ok = pages.ok && !pages.keptInJournal && ok;
    // What could not be written stays journaled, whatever the answer below.
    journalNow();
    if (ok || m_unattended)
        return true;
    return m_env.messages->show(QStringLiteral("エラーが発生しました。終了しますか?"),
                                MessageService::Icon::Question,
                                MessageService::Buttons::OkCancel) == MessageService::Answer::Ok;
}

void TMainForm::Exit1Click()
{
    close();
}

bool TMainForm::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::ShowHint(const QString& hint)
{
    if (hint.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(hint);
}

void TMainForm::reportFailure(const QString& message)
{
    m_env.messages->show(message, MessageService::Icon::Error, MessageService::Buttons::Ok,
                         QStringLiteral("QuavScheduler"));
}

void TMainForm::ApplyFirstDayOfWeek()
{
    static constexpr Qt::DayOfWeek days[] = {Qt::Sunday,   Qt::Monday, Qt::Tuesday, Qt::Wednesday,
                                             Qt::Thursday, Qt::Friday, Qt::Saturday};
    // Not the calendar's own locale: that is Japanese for its texts, whatever the user's is.
    MonthCal->setFirstDayOfWeek(StartWeek >= 0 && StartWeek <= 6 ? days[StartWeek]
                                                                 : m_env.localeFirstDayOfWeek());
}
