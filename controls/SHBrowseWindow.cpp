#include "controls/SHBrowseWindow.h"

#include "platform/SpecialFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;
constexpr int kListedRole = Qt::UserRole + 2;

// Is `path` the folder itself or below it, counted in whole path components.
bool within(const QString& folder, const QString& path)
{
    if (folder == path || folder == QStringLiteral("/"))
        return path.startsWith(folder);
    return path.startsWith(folder + u'/');
}

QString folderName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

} // namespace

SHBrowseWindow::SHBrowseWindow(const BrowseTarget& root, const QString& caption, int flags, QWidget* parent)
    : QDialog(parent), m_flags(flags)
{
    setObjectName(QStringLiteral("SHBrowseWindow"));
    setWindowTitle(QStringLiteral("フォルダの参照"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(320, 360);

    auto* layout = new QVBoxLayout(this);
    m_caption = new QLabel(caption);
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_caption->setWordWrap(true);
    m_caption->setVisible(!caption.isEmpty());
    layout->addWidget(m_caption);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("StatusText"));
    m_status->setVisible(flags & BIF_STATUSTEXT);
    layout->addWidget(m_status);

    m_tree = new QTreeWidget;
    m_tree->setObjectName(QStringLiteral("FolderTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setUniformRowHeights(true);
    layout->addWidget(m_tree, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("OK"));
    m_ok->setObjectName(QStringLiteral("OKBtn"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"));
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    QTreeWidgetItem* top = nullptr;
    switch (root.kind) {
    case BrowseTarget::Kind::Desktop: {
        top = addItem(nullptr, root, QStringLiteral("デスクトップ"));
        top->setData(0, kListedRole, true);
        addItem(top, {BrowseTarget::Kind::Folder, QDir::homePath()}, folderName(QDir::homePath()));
        if (const auto desktop = SpecialFolders::locate(SpecialFolders::Kind::DesktopDir))
            addItem(top, {BrowseTarget::Kind::Folder, desktop->path}, folderName(desktop->path));
        addItem(top, {BrowseTarget::Kind::Computer, QString()}, QStringLiteral("コンピュータ"));
        break;
    }
    case BrowseTarget::Kind::Computer:
        top = addItem(nullptr, root, QStringLiteral("コンピュータ"));
        break;
    case BrowseTarget::Kind::Folder:
        top = addItem(nullptr, root, folderName(root.path));
        break;
    }
    m_tree->expandItem(top);
    connect(m_tree, &QTreeWidget::itemExpanded, this, &SHBrowseWindow::list);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &SHBrowseWindow::currentChanged);
}

QTreeWidgetItem* SHBrowseWindow::addItem(QTreeWidgetItem* parent, const BrowseTarget& target,
                                         const QString& name)
{
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
    item->setText(0, name);
    item->setData(0, kKindRole, int(target.kind));
    item->setData(0, kPathRole, target.path);
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

void SHBrowseWindow::list(QTreeWidgetItem* item)
{
    if (item->data(0, kListedRole).toBool())
        return;
    item->setData(0, kListedRole, true);
    const auto kind = BrowseTarget::Kind(item->data(0, kKindRole).toInt());
    if (kind == BrowseTarget::Kind::Computer) {
        for (const SpecialFolders::Volume& volume : SpecialFolders::volumes())
            addItem(item, {BrowseTarget::Kind::Folder, volume.rootPath}, volume.displayName);
    } else if (kind == BrowseTarget::Kind::Folder) {
        const QDir dir(item->data(0, kPathRole).toString());
        for (const QFileInfo& sub :
             dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
            addItem(item, {BrowseTarget::Kind::Folder, sub.absoluteFilePath()}, sub.fileName());
    }
    if (item->childCount() == 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

QTreeWidgetItem* SHBrowseWindow::child(QTreeWidgetItem* item, const QString& path)
{
    list(item);
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->data(0, kPathRole).toString() == path)
            return item->child(i);
    }
    // Hidden folders are not listed, but one on the way to the selection is shown.
    const QFileInfo hidden(path);
    if (!hidden.isDir())
        return nullptr;
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return addItem(item, {BrowseTarget::Kind::Folder, path}, hidden.fileName());
}

QTreeWidgetItem* SHBrowseWindow::find(const BrowseTarget& target)
{
    QTreeWidgetItem* top = m_tree->topLevelItem(0);
    if (target.kind == BrowseTarget::Kind::Desktop)
        return BrowseTarget::Kind(top->data(0, kKindRole).toInt()) == target.kind ? top : nullptr;

    // Breadth first over the listed items and the computer's volumes: the folder of the target,
    // or the deepest one that holds it.
    QTreeWidgetItem* best = nullptr;
    QList<QTreeWidgetItem*> queue{top};
    while (!queue.isEmpty()) {
        QTreeWidgetItem* item = queue.takeFirst();
        const auto kind = BrowseTarget::Kind(item->data(0, kKindRole).toInt());
        const QString path = item->data(0, kPathRole).toString();
        if (kind == target.kind && path == target.path)
            return item;
        if (kind == BrowseTarget::Kind::Computer)
            list(item);
        if (kind == BrowseTarget::Kind::Folder) {
            if (target.kind != BrowseTarget::Kind::Folder || !within(path, target.path))
                continue;
            if (!best || path.size() > best->data(0, kPathRole).toString().size())
                best = item;
            continue;
        }
        for (int i = 0; i < item->childCount(); ++i)
            queue.append(item->child(i));
    }
    // Down from there one folder at a time.
    while (best) {
        const QString path = best->data(0, kPathRole).toString();
        if (path == target.path)
            return best;
        const int at = path.endsWith(u'/') ? 0 : 1;
        const QString rest = target.path.mid(path.size()).section(u'/', at, at);
        best = child(best, path.endsWith(u'/') ? path + rest : path + u'/' + rest);
    }
    return nullptr;
}

bool SHBrowseWindow::select(const BrowseTarget& target)
{
    BrowseTarget wanted = target;
    if (wanted.kind == BrowseTarget::Kind::Folder)
        wanted.path = QDir::cleanPath(QFileInfo(wanted.path).absoluteFilePath());
    QTreeWidgetItem* item = find(wanted);
    if (!item)
        return false;
    for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
        m_tree->expandItem(up);
    m_tree->setCurrentItem(item);
    m_tree->scrollToItem(item);
    return true;
}

void SHBrowseWindow::selectRoot()
{
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
}

BrowseTarget SHBrowseWindow::current() const
{
    const QTreeWidgetItem* item = m_tree->currentItem();
    if (!item)
        return {};
    return {BrowseTarget::Kind(item->data(0, kKindRole).toInt()), item->data(0, kPathRole).toString()};
}

QString SHBrowseWindow::currentDisplayName() const
{
    const QTreeWidgetItem* item = m_tree->currentItem();
    return item ? item->text(0) : QString();
}

void SHBrowseWindow::setStatusText(const QString& text)
{
    m_status->setText(text);
}

QString SHBrowseWindow::statusText() const
{
    return m_status->text();
}

void SHBrowseWindow::enableOk(bool enabled)
{
    m_ok->setEnabled(enabled);
}

bool SHBrowseWindow::okEnabled() const
{
    return m_ok->isEnabled();
}

void SHBrowseWindow::currentChanged()
{
    const BrowseTarget target = current();
    const bool fileSystem = target.kind == BrowseTarget::Kind::Folder;
    // The window's own rule first; the owner's answer may override it.
    if (m_flags & BIF_RETURNONLYFSDIRS)
        enableOk(fileSystem);
    else
        enableOk(m_tree->currentItem() != nullptr);
    if (onSelectionChanged)
        onSelectionChanged(fileSystem ? target.path : QString());
}

void SHBrowseWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placed && onPlace) {
        m_placed = true;
        onPlace(*this);
    }
}
