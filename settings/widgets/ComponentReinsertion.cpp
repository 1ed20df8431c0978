#include "settings/widgets/ComponentReinsertion.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFormLayout>
#include <QGridLayout>
#include <QMainWindow>
#include <QSplitter>
#include <QStatusBar>
#include <QWidget>

namespace ComponentReinsertion {

namespace {
bool layoutHolds(QLayout* layout, QWidget* control)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == control || (item->layout() && layoutHolds(item->layout(), control)))
            return true;
    }
    return false;
}
} // namespace

std::optional<Placement> placementOf(QWidget* control)
{
    QWidget* parent = control->parentWidget();
    if (!parent || qobject_cast<QStatusBar*>(parent) ||
        parent->objectName() == QLatin1String("qt_scrollarea_viewport"))
        return std::nullopt;
    if (qobject_cast<QSplitter*>(parent))
        return Placement::Splitter;
    if (auto* window = qobject_cast<QMainWindow*>(parent))
        return window->centralWidget() == control ? std::optional(Placement::Central) : std::nullopt;
    QLayout* layout = parent->layout();
    if (!layout)
        return Placement::Free;
    const bool plain = qobject_cast<QBoxLayout*>(layout) || qobject_cast<QGridLayout*>(layout) ||
                       qobject_cast<QFormLayout*>(layout);
    return plain && layoutHolds(layout, control) ? std::optional(Placement::Layout) : std::nullopt;
}

void takePlace(QWidget* replacement, QWidget* control, Placement placement, bool hidden)
{
    QWidget* parent = control->parentWidget();
    const bool hadFocus = control->isAncestorOf(QApplication::focusWidget()) || control->hasFocus();
    replacement->setGeometry(control->geometry());
    switch (placement) {
    case Placement::Splitter: {
        auto* splitter = static_cast<QSplitter*>(parent);
        splitter->replaceWidget(splitter->indexOf(control), replacement);
        break;
    }
    case Placement::Central:
        // The window lets go of the old central widget later; it is destroyed before that.
        static_cast<QMainWindow*>(parent)->setCentralWidget(replacement);
        break;
    case Placement::Layout:
        replacement->setParent(parent);
        replacement->setGeometry(control->geometry());
        delete parent->layout()->replaceWidget(control, replacement);
        break;
    case Placement::Free:
        replacement->setParent(parent);
        replacement->setGeometry(control->geometry());
        replacement->stackUnder(control);
        break;
    }
    if (replacement->window() == control->window())
        QWidget::setTabOrder(control, replacement);
    if (!hidden)
        replacement->show();
    if (hadFocus)
        replacement->setFocus();
}

} // namespace ComponentReinsertion
