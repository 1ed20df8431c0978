#include "controls/DialogRunner.h"

#include "controls/FocusReturn.h"

#include <QDialog>

namespace {
class ModalDialogRunner final : public DialogRunner {
public:
    bool run(QDialog& dialog) override
    {
        const FocusReturn focus;
        return dialog.exec() == QDialog::Accepted;
    }
};
} // namespace

DialogRunner& DialogRunner::modal()
{
    static ModalDialogRunner runner;
    return runner;
}
