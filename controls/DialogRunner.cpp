#include "controls/DialogRunner.h"

#include <QDialog>

namespace {
class ModalDialogRunner final : public DialogRunner {
public:
    bool run(QDialog& dialog) override { return dialog.exec() == QDialog::Accepted; }
};
} // namespace

DialogRunner& DialogRunner::modal()
{
    static ModalDialogRunner runner;
    return runner;
}
