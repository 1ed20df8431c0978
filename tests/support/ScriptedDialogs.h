#pragma once

#include "controls/DialogRunner.h"

#include <QAbstractButton>
#include <QDialog>
#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

// Answers the dialogs from a queue: each answer may fill the dialog's controls, then confirms
// (true) or cancels (false). A dialog shown with no answer queued is a test failure.
class ScriptedDialogs final : public DialogRunner {
public:
    using Answer = std::function<bool(QDialog&)>;

    bool run(QDialog& dialog) override
    {
        m_shown.append(dialog.objectName());
        if (m_answers.isEmpty()) {
            ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
            return false;
        }
        return m_answers.takeFirst()(dialog);
    }

    void answer(Answer answer) { m_answers.append(std::move(answer)); }
    void confirm()
    {
        answer([](QDialog&) { return true; });
    }
    void cancel()
    {
        answer([](QDialog&) { return false; });
    }
    const QStringList& shown() const { return m_shown; }
    bool allAnswered() const { return m_answers.isEmpty(); }

    // Presses the dialog's OK button as a user would: nothing happens while it is disabled.
    static bool pressOk(QDialog& dialog)
    {
        dialog.setResult(QDialog::Rejected);
        auto* ok = dialog.findChild<QAbstractButton*>(QStringLiteral("OKBtn"));
        EXPECT_NE(ok, nullptr);
        if (ok)
            ok->click();
        return dialog.result() == QDialog::Accepted;
    }

    template <typename T> static T* child(QDialog& dialog, const char* name)
    {
        auto* widget = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

private:
    QList<Answer> m_answers;
    QStringList m_shown;
};
