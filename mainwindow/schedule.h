#pragma once

#include "mainwindow/MainFormEnv.h"
#include "mainwindow/MonthViewSource.h"
#include "schedule/ConflictCopies.h"
#include "schedule/FileTextBaseline.h"
#include "schedule/GridBaseline.h"
#include "schedule/MainSettings.h"
#include "schedule/MonthExtraFields.h"
#include "schedule/Markup.h"
#include "schedule/Pages.h"
#include "platform/DiskStamp.h"
#include "settings/Font.h"

#include <QDate>
#include <QMainWindow>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace PageFile {
enum class SaveAction;
struct Loaded;
} // namespace PageFile
struct FilledPage;

class QLabel;
class QPlainTextEdit;
class QSplitter;
class QTextDocument;
class QStatusBar;
class QTabWidget;
class QToolBar;
class QAction;
class QMenu;
class MonthCalendar;
class TjvStringGrid;
class TRegManager;
class TTrayIcon;
class Clipboard;
class MonthViewLink;
class SearchWindow;
struct SearchHit;
struct SearchRequest;
class OptionDialogs;
class DialogRunner;
class TFontColorDialog;
class QColorDialog;
class QTimer;
class RecoveryJournal;
class IniStore;
class ProfileBatch;
class PageFiller;
class FileWatch;
class ChangedElsewhereBar;
class QToolButton;

// The main window: conducts start-up, date changes and close; the rules themselves live in
// schedule and the controls.
class TMainForm final : public QMainWindow, private MonthViewSource {
    Q_OBJECT

public:
    explicit TMainForm(MainFormEnv env, QWidget* parent = nullptr);
    ~TMainForm() override;
    Q_DISABLE_COPY_MOVE(TMainForm)

    // Brings the window back and to the front: the tray menu's entry, and a second start asks it.
    void Restore1Click();
    // The clipboard the commands use; null means the system's. Not owned.
    void setClipboard(Clipboard* clipboard) { m_clipboard = clipboard; }
    // The three-month view, created after this window; none leaves the command without a view.
    void setMonthView(MonthViewLink* view) { m_monthView = view; }
    // The dialogs made at program start; without them the window makes its own at first use.
    void setOptionDialogs(OptionDialogs* dialogs) { m_optionDialogs = dialogs; }
    // What the three-month view reads of this window.
    const MonthViewSource& monthViewSource() const { return *this; }
    SearchWindow* searchWindow() const { return m_searchWindow; }

    // What the window holds now, read-only: its stored settings, the memo font, the column
    // captions and the file of each page and of the month shown.
    QDate selectedDate() const override;
    const MainSettings& settings() const { return m_settings; }
    const TFont& memoFont() const { return MemoFont; }
    const QStringList& columnCaptions() const { return Memo5; }
    QString dataFile(DataFileNames::Kind kind) const;
    // A large page is filled from its file after the window shows, and goes into its editor
    // when its tab is shown; until then it is read-only and neither saved nor journaled.
    bool pageFilling(int index) const;
    // Some page's file is still being read.
    bool pagesFilling() const;

    // The settings steps of the close sequence in their order, each run through `step`, all
    // storing into `ini`.
    void storeClosingSettings(IniStore& ini, const std::function<void(const std::function<void()>&)>& step);

    // Unsaved texts and the end of the session (MainFormRecovery.cpp).
    static constexpr int kJournalDelayMs = 2000; // text typed is journaled this long after
    // The close sequence where nobody can answer (a signal, the session ending): no question,
    // another program's changes are kept beside ours, and what cannot be written is journaled.
    void closeUnattended();
    bool closedUnattended() const { return m_closedUnattended; }
    // Offers the texts the journal holds for the data folder, once per run.
    void offerRecovery();
    // Journals every modified page and a changed grid now; drops the entries of the others.
    // False when one could not be journaled; the user is told once.
    bool journalNow();
    // As journalNow after a pause in typing: large pages are written in the background and a
    // failure among them is told when it happens.
    void journalAfterPause();
    RecoveryJournal& journal() const { return *m_journal; }

Q_SIGNALS:
    // The close query allowed the close: the program ends, also when the window was hidden in
    // the notification area (closing a hidden window ends no event loop by itself).
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Controls, named as in the window layout.
    TjvStringGrid* jvStringGrid1 = nullptr;
    MonthCalendar* MonthCal = nullptr;
    QTabWidget* Page1 = nullptr;

    // One memo page as the window holds it, by tab index.
    struct Page {
        QPlainTextEdit* editor = nullptr;
        QString file; // the file the editor shows
        FileTextBaseline baseline;
        DiskStamp stamp;    // the file as last read or written
        QString loadedFrom; // the file the page was last loaded from
        // The editor text last written, while the page stays modified after its save.
        std::optional<QString> written;
        bool fillOverShown = false; // the page shows its file's text while filled again
        // Filled while behind another tab: it goes into the editor when its tab is shown.
        std::unique_ptr<QTextDocument> unshownFill;
        bool viewStale = false;        // refilled while hidden: caret to the start when shown
        bool changedElsewhere = false; // another program changed the file under the user's changes
    };
    std::array<Page, Pages::kCount> m_pages;
    Page& pageOf(DataFileNames::Kind kind) { return m_pages[size_t(*Pages::indexOf(kind))]; }

    QPlainTextEdit*& Memo1 = pageOf(DataFileNames::Kind::Plan).editor;
    QPlainTextEdit*& Memo2 = pageOf(DataFileNames::Kind::ToDo).editor;
    QPlainTextEdit*& Memo3 = pageOf(DataFileNames::Kind::Memo).editor;
    QPlainTextEdit*& Memo4 = pageOf(DataFileNames::Kind::Anniv).editor;
    QPlainTextEdit*& Memo7 = pageOf(DataFileNames::Kind::Diary).editor;
    QLabel* lblThisMonth = nullptr;
    QLabel* StatusPanel = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QSplitter* Splitter2 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QToolBar* ToolBar3 = nullptr;
    QMenu* File1 = nullptr;
    QMenu* Show1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Today1 = nullptr;
    QAction* Today3 = nullptr;
    // Editing: the 予定 and 編集 menus, the grid's context menu and the clipboard tool buttons.
    QMenu* Sch1 = nullptr;
    QMenu* Edit1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* SchCut1 = nullptr;
    QAction* SchCopy1 = nullptr;
    QAction* SchPaste1 = nullptr;
    QAction* SchDelete1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Cut1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* Delete1 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* DateTime1 = nullptr;
    QAction* Cut2 = nullptr;
    QAction* Copy2 = nullptr;
    QAction* Paste2 = nullptr;
    QAction* Delete2 = nullptr;
    QAction* SchCut3 = nullptr;
    QAction* SchCopy3 = nullptr;
    QAction* SchPaste3 = nullptr;
    QAction* Cut3 = nullptr;
    QAction* Copy3 = nullptr;
    QAction* Paste3 = nullptr;
    TRegManager* RegManager1 = nullptr;
    TTrayIcon* TrayIcon = nullptr; // none without a notification area
    QMenu* PopupMenu2 = nullptr;
    QAction* Restore1 = nullptr;
    QAction* Exit2 = nullptr;
    QAction* Exec1 = nullptr;
    QAction* Exec3 = nullptr;
    QAction* ViewMonthsForm = nullptr;
    QAction* ToolButton3MonthView = nullptr;
    QMenu* Help1 = nullptr;
    QAction* About1 = nullptr;
    QAction* Find1 = nullptr;     // 検索(&F)... in the 編集 menu
    QAction* Holidays1 = nullptr; // 祝日を表示(&H) in the 表示 menu

    // Options: the View menu's entries, the column captions and the settings dialog.
    QAction* EditorSet1 = nullptr;
    QAction* SchItemSet1 = nullptr;
    QAction* Font1 = nullptr;
    QAction* StartWeek1 = nullptr;
    QAction* ColSat1 = nullptr;
    QAction* ColSun1 = nullptr;
    QAction* MarkupBGColor1 = nullptr; // the entries of the sub-menus' parents
    QAction* MarkupStr1 = nullptr;
    std::array<QAction*, kMarkupCount> MS{};
    std::array<QAction*, kMarkupCount> MBGC{};
    TFontColorDialog* FontDialog = nullptr; // both made at their first use
    QColorDialog* ColorDialog1 = nullptr;

    // State shared with the later commands and dialogs. The stored keys live in one settings
    // object, read at start and written at close.
    MainSettings m_settings;
    QString IniPath;
    QString& EditorPath = m_settings.editorPath;
    QString& DataFolder = m_settings.dataFolder;
    QString MonthFile;
    QString& DiaryFile = pageOf(DataFileNames::Kind::Diary).file;
    QString& PlanFile = pageOf(DataFileNames::Kind::Plan).file;
    QString& AnnivFile = pageOf(DataFileNames::Kind::Anniv).file;
    QString& ToDoFile = pageOf(DataFileNames::Kind::ToDo).file;
    QString& MemoFile = pageOf(DataFileNames::Kind::Memo).file;
    ColorRef& SatColor = m_settings.satColor;
    ColorRef& SunColor = m_settings.sunColor;
    MarkupTable& MarkupEntries = m_settings.markup;
    QStringList Memo5; // the column captions, one per line
    int SelectedRow = 0;
    int& StartWeek = m_settings.startWeek;
    bool& BoldStyle = m_settings.bold;
    bool& ItalicStyle = m_settings.italic;
    bool FirstShow = true;
    int StartDay = 1;
    QPlainTextEdit* ActiveMemo = nullptr; // the editor of the page shown, chosen by SelectActiveMemo
    TFont MemoFont;
    bool ShowHolidays = false; // national holidays drawn like Sundays

    // Operations used across the window.
    void LoadPages();
    void SetColumnCaptions();
    void NewMonth();
    void LoadMonth();
    void SaveMonth();
    void MonthCalClick();
    void Today1Click();
    void Exit1Click();
    void Exec1Click();
    // Memo commands: they act on the editor of the page shown, wherever the focus is.
    void SelectActiveMemo();
    void Edit1Click();
    void Memo2MouseUp();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void Delete1Click();
    void Undo1Click();
    void SelectAll1Click();
    void DateTime1Click();
    // Schedule commands: they act on the grid's current cell only.
    void Sch1Click();
    void jvStringGrid1MouseUp();
    void SchCut1Click();
    void SchCopy1Click();
    void SchPaste1Click();
    void SchDelete1Click();
    void ApplyFirstDayOfWeek();
    void ViewMonthsFormClick();
    void About1Click();
    void Find1Click();
    void Holidays1Click();
    void Font1Click();
    void ColSat1Click();
    void ColSun1Click();
    void StartWeek1Click();
    void SchItemSet1Click();
    void MarkupBGColor1Click(QObject* sender);
    void MarkupStr1Click(QObject* sender);
    void EditorSet1Click();
    // Marks of the months around the one the calendar shows.
    void MonthCalGetMonthInfo(int year, int month);

    QPlainTextEdit* pageEditor(int index) const;

    // The settings file as read once at start, until the window is first shown (null after):
    // the windows made at start with this one read their settings from it.
    const ProfileBatch* settingsReadAtStart() const override { return m_startSettings.get(); }
    bool windowPositionsKnown() const override { return m_env.windowPositionsKnown; }
    // The three-month view's reading of the window.
    QString dataFolder() const override { return DataFolder; }
    QString settingsPath() const override { return IniPath; }
    QIcon icon() const override { return windowIcon(); }
    const TjvStringGrid& scheduleGrid() const override { return *jvStringGrid1; }
    CellColours cellColours() const override { return {SatColor, SunColor, MarkupEntries, ShowHolidays}; }

private:
    void buildLayout();
    void buildMenus();
    void buildTrayIcon();
    void addMonthViewCommands();
    void addHelpMenu();
    void buildOptionMenus();
    void updateMarkupCaptions(int index);
    OptionDialogs& optionDialogs();
    DialogRunner& dialogRunner() const;
    bool chooseColor(ColorRef& color);
    bool hidesInTray() const;
    void runExternalEditor();
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void ShowHint(const QString& hint);
    void readSettings(const IniStore& ini);
    void writeSettings(IniStore& ini);
    void readMemoFont();
    void writeMemoFont(IniStore& ini);
    void applyMemoFont();
    void buildFileNames(QDate date);
    void setMonthLabel(QDate date);
    void setStatusDate(QDate date);
    void reportFailure(const QString& message);

    // Printing and export (MainFormPrint.cpp); PrintView is what they read of the window.
    class PrintView;
    void buildPrintCommands();
    void runPrint(bool preview);

    // Search of every note and the way to a hit.
    void buildSearch();
    SearchRequest searchRequest() const;
    void goToSearchHit(const SearchHit& hit);
    void closeSearch(); // the window must not keep the program running
    // National holidays: menu entry, setting, and their look in the calendar, grid and status bar.
    void buildHolidays();
    void readHolidaySetting(const IniStore& ini);
    void writeHolidaySetting(IniStore& ini);
    void showHolidaysInCalendar(int year, int month);
    QString statusText(QDate date) const;

    // Editing: wiring of the menus, buttons and mouse-ups; a failing command is reported.
    void connectEditingCommands();
    void runCommand(void (TMainForm::*handler)());
    void runCommand(const std::function<void()>& command);
    Clipboard& clipboard() const;
    QString currentCellText() const;
    void setCurrentCellText(const QString& text);

    // Month grid, its events and the unreadable-file guard.
    void jvStringGrid1DrawCell(int col, int row, const QRect& rect, QPainter& painter);
    void jvStringGrid1SelectCell(int row);
    void jvStringGrid1Click();
    void fillMonth(const std::optional<QByteArray>& bytes);
    // The grid from a month file's bytes, or the empty month when they hold no day row.
    void showMonthBytes(const QByteArray& bytes);
    // What the month file is to hold: the grid and the fields it has no column for.
    QString monthText() const;
    bool monthNeedsWrite(const QString& gridText) const;
    // The user changed the grid since its month was loaded or last written.
    bool monthChangedHere() const;

    // Pages: the file each editor shows and whether reading it failed.
    struct SaveOutcome {
        bool ok = true;
        bool dayFilesChanged = false; // a diary, plan or anniversary file was written or removed
        bool keptInJournal = false;   // a page failed again and went to the journal unasked
    };
    QString& pageFile(int index) { return m_pages[size_t(index)].file; }
    const QString& pageFile(int index) const { return m_pages[size_t(index)].file; }
    void loadPage(int index);
    PageFile::SaveAction pageSaveAction(int index) const;
    bool pagesNeedSaving() const;                 // a save would write or delete a page file
    void putText(int index, const QString& text); // the page's text, unmodified
    void pageShown(int index);
    void startFill(int index);
    void dropFill(int index);
    void pageFilled(FilledPage& filled);
    void showFilled(int index); // the filled document goes into the page's editor
    // What a page shows when its file is missing or could not be read; the user is told once.
    void showUnreadPage(int index, const PageFile::Loaded& loaded, bool wasUnreadable);
    // Waits for the page's fill, so a command sees the file's whole text.
    void finishFill(int index);
    SaveOutcome SavePages(); // reports its own failures; the outcome tells the caller what is unsaved
    void refreshBoldDay(QDate date);

    // The date change's steps, in their order.
    struct DateChange;
    void readNextMonth(DateChange& change);
    bool leaveMonth(DateChange& change);
    bool leavePages(DateChange& change);
    void loadDate(DateChange& change);
    void showDate(const DateChange& change);

    // Recovery journal and outside edits.
    void setupRecovery();
    void journalSoon();
    bool journalPage(int index, bool background = false);
    bool journalMonth();
    bool journalQuietly(bool background = false);
    void journaledInBackground(const QString& failure);
    void reportJournalFailure();
    QString pageLabel(int index) const;
    // Before a data file is written: true when the caller may go on writing `mine`; otherwise
    // the choice was carried out and the file's text is now what the program shows.
    // With `given`, the user's choice already made (the bar above the page or grid); else asked.
    bool settlePageOutsideEdit(int index, const QByteArray& mine,
                               std::optional<OutsideEditChoice> given = {});
    bool settleMonthOutsideEdit(std::optional<OutsideEditChoice> given = {});

    // Copies a sync tool left beside the data files (MainFormConflictCopies.cpp).
    void buildConflictCopies();
    void findConflictCopies(); // lists the folder off the UI thread, then marks what it found
    std::optional<ConflictCopies::Found> nextConflictCopy() const;
    void updateCopyMark();
    bool showsFile(const QString& path) const;  // the month or a page shows the file
    bool showDataFile(const QString& fileName); // moves to the date that shows the file
    void mergeConflictCopy();
    bool mergePageCopy(const QString& path, const QString& copyPath);
    bool mergeMonthCopy(const QString& copyPath);
    QList<ConflictCopies::Found> m_conflictCopies;
    QString m_copiesFolder; // the folder the copies were last looked for in
    QAction* m_mergeAction = nullptr;
    QToolButton* m_copyMark = nullptr;

    // Files changed on disk while shown (MainFormLiveFiles.cpp).
    void buildLiveFiles();
    void watchShownFiles();          // after the files shown changed: start-up and every date change
    void watchFilledPage(int index); // a page read in the background is compared with its text
    void checkShownFiles();
    bool busyForOutsideChanges() const;
    void shownFileChanged(const QString& path);
    void pageFileChanged(int index);
    void monthFileChanged();
    void updateChangeBars();
    void settlePageChangedElsewhere(int index, OutsideEditChoice choice);
    void settleMonthChangedElsewhere(OutsideEditChoice choice);
    OutsideEditChoice askOutsideEdit(const QString& path);
    // Asked after a failed save in a date change; true moves on with the texts journaled.
    bool moveOnAfterFailedSave();
    // Journals what is unsaved and shows it again when its file comes back; false when the
    // journal could not take it.
    bool keepUnsaved();
    void adoptLeftovers();
    void restoreEntries();
    void takeEditorWorkFile();
    // The session ends under the external editor: it is left running, and what it saves later
    // is offered at the next start.
    void leaveEditorRunning();
    void settleEditorHandOff();
    // EditorPath, the default editor looked for first where the settings named none.
    const QString& editorPath();
    // Stored folder and editor that cannot serve here (MainFormDataFolder.cpp): a stand-in is used
    // for the run, and the stored text is written back unless the user chose another.
    void settleDataFolder();
    void useFolderForThisRun(const QString& stored, const QString& folder);
    QString pickDataFolder();
    bool keepStoredEditor(const QString& stored);
    QString storedDataFolder() const;
    QString storedEditorPath();

    FileWatch* m_fileWatch = nullptr;
    QTimer* m_liveRetry = nullptr;
    QTimer* m_boldDaysSoon = nullptr;
    QTimer* m_copiesSoon = nullptr; // a new data folder's conflict copies, once the window is up
    ChangedElsewhereBar* m_pageBar = nullptr;
    ChangedElsewhereBar* m_monthBar = nullptr;
    bool m_monthChangedElsewhere = false;
    bool m_changingDate = false;
    bool m_closing = false;

    MainFormEnv m_env;
    std::unique_ptr<RecoveryJournal> m_journal;
    QTimer* m_journalTimer = nullptr;
    DiskStamp m_monthStamp;
    bool m_unattended = false;
    bool m_closedUnattended = false;
    bool m_recoveryOffered = false;
    bool m_journalReady = false; // entries of an earlier run are settled; until then none is dropped
    QString m_journalError;      // why the journal last failed, empty while it works
    bool m_journalFailureShown = false;
    bool m_backgroundJournalFailed = false; // the last entry written in the background failed
    std::unique_ptr<PageFiller> m_filler;
    bool m_recoveryAfterFill = false; // the offer waits for the pages' texts
    // Texts the user chose to leave unsaved (they are journaled), by file: shown again, still
    // unsaved, whenever their date or month comes back, until a save succeeds.
    QHash<QString, QString> m_keptPages;
    QHash<QString, QByteArray> m_keptMonths;
    QDate m_shownDate; // the date of the last completed date change
    GridBaseline m_monthBaseline;
    MonthExtraFields m_monthExtras;
    QSet<QString> m_monthsChangedHere; // month files written with the user's changes in this run
    bool m_puttingText = false;        // a page is being filled from its file, not typed
    bool m_memoFontRead = false;       // what was never read is never written
    bool m_settingsRead = false;
    std::unique_ptr<ProfileBatch> m_startSettings;
    bool m_waitingForEditor = false;
    QString m_editorWorkFile; // the work file handed to the editor last
    QByteArray m_editorTaken; // its bytes as the session end took them
    QString m_keptFolder;     // the stored data folder while a stand-in serves
    QString m_folderStandIn;
    bool m_folderKept = false;
    QString m_keptEditor; // a stored Windows editor, written back as it was
    QString m_editorStandIn;
    bool m_editorSearched = false; // EditorPath, while empty, is the default editor once searched
    Qt::WindowStates m_stateBeforeMinimise = Qt::WindowNoState;
    Clipboard* m_clipboard = nullptr;
    MonthViewLink* m_monthView = nullptr;
    SearchWindow* m_searchWindow = nullptr;
    bool m_holidaysStored = false; // the settings hold the key, or the user set it
    OptionDialogs* m_optionDialogs = nullptr;
    std::unique_ptr<OptionDialogs> m_ownDialogs;
};
