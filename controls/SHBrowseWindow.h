#pragma once

#include "controls/SHBFFEX.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The browse window of TSHBrowseForFolderEx: the caption, the folder tree, the status line and
// OK and Cancel. Folders are listed when first expanded, so a deep disk costs nothing at open.
class SHBrowseWindow final : public QDialog {
    Q_OBJECT

public:
    SHBrowseWindow(const BrowseTarget& root, const QString& caption, int flags, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(SHBrowseWindow)

    // Makes the target the current item, listing the folders on its way; false when it is not
    // in the tree.
    bool select(const BrowseTarget& target);
    void selectRoot();
    BrowseTarget current() const;
    QString currentDisplayName() const;
    void setStatusText(const QString& text);
    QString statusText() const;
    void enableOk(bool enabled);
    bool okEnabled() const;
    // Called after each change of the current item, with its file-system path (empty for none).
    std::function<void(const QString& path)> onSelectionChanged;
    // Called when the window is first shown, to place it.
    std::function<void(QWidget& window)> onPlace;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTreeWidgetItem* addItem(QTreeWidgetItem* parent, const BrowseTarget& target, const QString& name);
    void list(QTreeWidgetItem* item);
    QTreeWidgetItem* child(QTreeWidgetItem* item, const QString& path);
    QTreeWidgetItem* find(const BrowseTarget& target);
    void currentChanged();

    int m_flags;
    QLabel* m_caption = nullptr;
    QTreeWidget* m_tree = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_placed = false;
};
