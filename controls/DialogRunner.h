#pragma once

class QDialog;

// Every modal dialog of the option commands is shown through this seam, so tests can fill a
// dialog and confirm or cancel it without a modal loop.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    // Shows the dialog and waits; true when the user confirmed it.
    virtual bool run(QDialog& dialog) = 0;

    // The real one: the dialog's own modal loop.
    static DialogRunner& modal();
};
