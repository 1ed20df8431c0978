#include "controls/FocusReturn.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace {

bool isMenu(const QWidget* widget)
{
    return qobject_cast<const QMenuBar*>(widget) || qobject_cast<const QMenu*>(widget);
}

// The last control that had the keyboard, menus aside.
QPointer<QWidget>& lastControl()
{
    static QPointer<QWidget> control;
    return control;
}

} // namespace

void FocusReturn::watch(QApplication& app)
{
    lastControl() = QApplication::focusWidget();
    QObject::connect(&app, &QApplication::focusChanged, &app, [](QWidget*, QWidget* now) {
        if (now && !isMenu(now))
            lastControl() = now;
    });
}

FocusReturn::FocusReturn() : m_window(QApplication::activeWindow())
{
    QWidget* focus = QApplication::focusWidget();
    // A command chosen with Alt and an access key runs while the menu bar holds the keyboard.
    if (focus && isMenu(focus))
        focus = lastControl();
    for (QWidget* widget = focus; widget; widget = widget->parentWidget()) {
        m_chain.append(widget);
        if (widget->isWindow())
            break;
    }
}

FocusReturn::~FocusReturn()
{
    restore();
}

void FocusReturn::restore()
{
    for (qsizetype n = 0; n < m_chain.size(); ++n) {
        QWidget* widget = m_chain[n];
        if (!widget || !widget->isVisibleTo(widget->window()) || !widget->isEnabled())
            continue;
        if (n > 0 && widget->focusPolicy() == Qt::NoFocus && !widget->isWindow())
            continue;
        QWidget* window = widget->window();
        // A window hidden in the tray keeps the control for when it is shown again.
        if (window->isVisible() && !window->isMinimized())
            window->activateWindow();
        if (!widget->isWindow() || n == 0)
            widget->setFocus(Qt::ActiveWindowFocusReason);
        return;
    }
    // No control had the keyboard: the window that had it gets it back.
    if (m_window && m_window->isVisible() && !m_window->isMinimized())
        m_window->activateWindow();
}
