#include "controls/DialogRunner.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace {
class ModalDialogRunner final : public DialogRunner {
public:
    bool run(QDialog& dialog) override
    {
        // The dialogs belong to the application, not to a window: give the keyboard back to
        // the window that had it, as a window manager would for an owned dialog.
        const QPointer<QWidget> active = QApplication::activeWindow();
        const bool confirmed = dialog.exec() == QDialog::Accepted;
        if (active && active->isVisible())
            active->activateWindow();
        return confirmed;
    }
};
} // namespace

DialogRunner& DialogRunner::modal()
{
    static ModalDialogRunner runner;
    return runner;
}
