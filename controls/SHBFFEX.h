#pragma once

#include <QFlags>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

class DialogRunner;
class QWidget;
class TSHBrowseForFolderEx;

enum TSelectFolder {
    sfDesktop,
    sfManual,
    sfDrives,
    sfDesktopDir,
    sfFavorites,
    sfPrograms,
    sfRecent,
    sfSendTo,
    sfStartMenu,
    sfStartup,
    sfTemplates
};
enum TRootFolder {
    rfDesktop,
    rfManual,
    rfDrives,
    rfDesktopDir,
    rfFavorites,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates
};
enum TSHBrowseOption {
    sboDontGoBelowDomain = 0x01,
    sboReturnFSAncestors = 0x02,
    sboReturnOnlyFSDirs = 0x04,
    sboStatusTextAndShowPath = 0x08,
    sboStatusText = 0x10
};
Q_DECLARE_FLAGS(TSHBrowseOptions, TSHBrowseOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSHBrowseOptions)
enum TShowStyle { ssNone, ssCenterScreen, ssClient };
enum TOKButtonState { obsNone = 0, obsEnable = 1, obsDisable = 2 };

using TSHBrowseEvent = std::function<void(TSHBrowseForFolderEx& sender, QWidget* wnd, const QString& path,
                                          QString& showText, TOKButtonState& okButtonState)>;

// An item of the browse tree: the desktop and the computer have no file-system path.
struct BrowseTarget {
    enum class Kind { Desktop, Computer, Folder };
    Kind kind = Kind::Desktop;
    QString path;
    bool operator==(const BrowseTarget&) const = default;
};

// Browse flags of the options, as the shell numbers them.
constexpr int BIF_RETURNONLYFSDIRS = 1;
constexpr int BIF_DONTGOBELOWDOMAIN = 2;
constexpr int BIF_STATUSTEXT = 4;
constexpr int BIF_RETURNFSANCESTORS = 8;

// A modal folder browser: a tree from the root down, the caption above it, an optional status
// line, OK and Cancel. The owner (the form it sits on) may track and veto the selection.
class TSHBrowseForFolderEx : public QObject {
    Q_OBJECT

public:
    explicit TSHBrowseForFolderEx(QObject* owner = nullptr);
    ~TSHBrowseForFolderEx() override;
    Q_DISABLE_COPY_MOVE(TSHBrowseForFolderEx)

    TSelectFolder SelectFolder() const { return m_selectFolder; }
    void SetSelectFolder(TSelectFolder value) { m_selectFolder = value; }
    const QString& SelectFolderName() const { return m_selectFolderName; }
    void SetSelectFolderName(const QString& value);
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    TSHBrowseOptions Options() const { return m_options; }
    void SetOptions(TSHBrowseOptions value) { m_options = value; }
    TSHBrowseEvent OnSelectionChanged;
    TRootFolder RootFolder() const { return m_rootFolder; }
    void SetRootFolder(TRootFolder value) { m_rootFolder = value; }
    const QString& RootFolderName() const { return m_rootFolderName; }
    void SetRootFolderName(const QString& value);
    TShowStyle ShowStyle() const { return m_showStyle; }
    void SetShowStyle(TShowStyle value) { m_showStyle = value; }

    // Results of the last run; both emptied when a run starts.
    const QString& FolderPath() const { return m_folderPath; }
    const QString& DisplayName() const { return m_displayName; }

    // Modal; true when the user confirmed a folder.
    virtual bool Execute();
    virtual void SelectionChanged(QWidget* wnd, const QString& path, QString& showText,
                                  TOKButtonState& okButtonState);

    // The runner that shows the browse window; the modal one unless set. Not owned.
    void setDialogRunner(DialogRunner* runner) { m_runner = runner; }

    // The folder a kind and name stand for; none when this platform has no such folder.
    static std::optional<BrowseTarget> resolve(int kind, const QString& name);
    // The shell flags of the options; `showPath` tells whether the status shows the path.
    static int browseFlags(TSHBrowseOptions options, bool& showPath);
    // Top-left of a window centred across and a third down a work area, offsets not added.
    static QPoint centerScreenPosition(const QRect& workArea, const QSize& window);

private:
    TSelectFolder m_selectFolder = sfDrives;
    QString m_selectFolderName;
    QString m_caption;
    TSHBrowseOptions m_options = sboReturnOnlyFSDirs;
    TRootFolder m_rootFolder = rfDesktop;
    QString m_rootFolderName;
    TShowStyle m_showStyle = ssClient;
    QString m_folderPath;
    QString m_displayName;
    DialogRunner* m_runner = nullptr;
};
