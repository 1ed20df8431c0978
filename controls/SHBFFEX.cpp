#include "controls/SHBFFEX.h"

#include "controls/DialogRunner.h"
#include "controls/SHBrowseWindow.h"
#include "platform/SpecialFolders.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QWidget>

namespace {

// The rows of the two enumerations after the desktop and the manual kind.
constexpr SpecialFolders::Kind kKinds[] = {
    SpecialFolders::Kind::Desktop,    SpecialFolders::Kind::Desktop,   SpecialFolders::Kind::Drives,
    SpecialFolders::Kind::DesktopDir, SpecialFolders::Kind::Favorites, SpecialFolders::Kind::Programs,
    SpecialFolders::Kind::Recent,     SpecialFolders::Kind::SendTo,    SpecialFolders::Kind::StartMenu,
    SpecialFolders::Kind::Startup,    SpecialFolders::Kind::Templates};

} // namespace

TSHBrowseForFolderEx::TSHBrowseForFolderEx(QObject* owner) : QObject(owner) {}

TSHBrowseForFolderEx::~TSHBrowseForFolderEx() = default;

void TSHBrowseForFolderEx::SetSelectFolderName(const QString& value)
{
    if (value != m_selectFolderName)
        m_selectFolderName = value;
}

void TSHBrowseForFolderEx::SetCaption(const QString& value)
{
    if (value != m_caption)
        m_caption = value;
}

void TSHBrowseForFolderEx::SetRootFolderName(const QString& value)
{
    if (value != m_rootFolderName)
        m_rootFolderName = value;
}

std::optional<BrowseTarget> TSHBrowseForFolderEx::resolve(int kind, const QString& name)
{
    if (kind == sfManual && !name.isEmpty()) {
        const QFileInfo folder(name);
        if (folder.isDir())
            return BrowseTarget{BrowseTarget::Kind::Folder, folder.absoluteFilePath()};
    }
    if (kind < 0 || kind >= int(std::size(kKinds)))
        return std::nullopt;
    const std::optional<SpecialFolders::Folder> special = SpecialFolders::locate(kKinds[kind]);
    if (!special)
        return std::nullopt;
    switch (special->kind) {
    case SpecialFolders::Kind::Desktop:
        return BrowseTarget{BrowseTarget::Kind::Desktop, QString()};
    case SpecialFolders::Kind::Drives:
        return BrowseTarget{BrowseTarget::Kind::Computer, QString()};
    default:
        return BrowseTarget{BrowseTarget::Kind::Folder, special->path};
    }
}

int TSHBrowseForFolderEx::browseFlags(TSHBrowseOptions options, bool& showPath)
{
    static constexpr std::pair<TSHBrowseOption, int> table[] = {{sboDontGoBelowDomain, BIF_DONTGOBELOWDOMAIN},
                                                                {sboReturnFSAncestors, BIF_RETURNFSANCESTORS},
                                                                {sboReturnOnlyFSDirs, BIF_RETURNONLYFSDIRS},
                                                                {sboStatusTextAndShowPath, BIF_STATUSTEXT},
                                                                {sboStatusText, BIF_STATUSTEXT}};
    showPath = false;
    int flags = 0;
    for (const auto& [option, flag] : table) {
        if (!options.testFlag(option))
            continue;
        flags |= flag;
        if (option == sboStatusTextAndShowPath) {
            showPath = true;
            break;
        }
    }
    return flags;
}

QPoint TSHBrowseForFolderEx::centerScreenPosition(const QRect& workArea, const QSize& window)
{
    return {(workArea.width() - window.width()) / 2, (workArea.height() - window.height()) / 3};
}

void TSHBrowseForFolderEx::SelectionChanged(QWidget* wnd, const QString& path, QString& showText,
                                            TOKButtonState& okButtonState)
{
    if (OnSelectionChanged)
        OnSelectionChanged(*this, wnd, path, showText, okButtonState);
}

bool TSHBrowseForFolderEx::Execute()
{
    m_folderPath.clear();
    m_displayName.clear();

    const std::optional<BrowseTarget> selection = resolve(m_selectFolder, m_selectFolderName);
    const std::optional<BrowseTarget> root = resolve(m_rootFolder, m_rootFolderName);
    if (!root)
        return false;
    bool showPath = false;
    const int flags = browseFlags(m_options, showPath);

    auto* ownerWidget = qobject_cast<QWidget*>(parent());
    QWidget* top = ownerWidget ? ownerWidget->window() : QApplication::activeWindow();
    SHBrowseWindow window(*root, m_caption, flags, top);

    // What every notification of the window ends with: the status text, then the OK state.
    const auto finish = [&window, showPath](const QString& path, QString status, TOKButtonState ok) {
        if (showPath)
            status = path;
        window.setStatusText(status);
        if (ok == obsEnable)
            window.enableOk(true);
        else if (ok == obsDisable)
            window.enableOk(false);
    };
    window.onSelectionChanged = [this, &window, &finish](const QString& path) {
        QString status;
        TOKButtonState ok = obsNone;
        SelectionChanged(&window, path, status, ok);
        finish(path, status, ok);
    };
    finish(QString(), QString(), obsNone);
    if (!selection || !window.select(*selection))
        window.selectRoot();

    const TShowStyle style = m_showStyle;
    window.onPlace = [style, ownerWidget](QWidget& browse) {
        if (style == ssCenterScreen) {
            const QScreen* screen = browse.screen();
            if (screen)
                browse.move(centerScreenPosition(screen->availableGeometry(), browse.frameGeometry().size()));
        } else if (style == ssClient && ownerWidget && ownerWidget->isWindow() && ownerWidget->isVisible()) {
            browse.move(ownerWidget->mapToGlobal(QPoint(0, 0)));
        }
    };

    const bool confirmed = (m_runner ? *m_runner : DialogRunner::modal()).run(window);
    if (top)
        top->activateWindow();
    if (!confirmed)
        return false;
    const BrowseTarget chosen = window.current();
    m_displayName = window.currentDisplayName();
    if (chosen.kind == BrowseTarget::Kind::Folder)
        m_folderPath = chosen.path;
    return true;
}
