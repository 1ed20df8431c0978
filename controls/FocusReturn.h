#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class QApplication;

// Gives the keyboard back to the control that had it when a dialog or message box opened, as a
// window manager does for an owned dialog. Where that control has gone or been hidden meanwhile
// (a grid's cell editor closed by the command), its nearest ancestor that takes the focus gets it:
// without this, typed letters reach no control and run menu commands instead.
class FocusReturn final {
public:
    // Follows the keyboard through the run, so that a menu bar that took it for its access keys
    // (Alt) gives it back to the control it came from. Once, at start.
    static void watch(QApplication& app);

    FocusReturn();
    ~FocusReturn();
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

    void restore();

private:
    QPointer<QWidget> m_window;
    QList<QPointer<QWidget>> m_chain; // the focused control first, then its ancestors
};
