// The memo and schedule editing commands, their enabled states and the clipboard they use.
#include "mainwindow/schedule.h"

#include "controls/jvStringGrid.h"
#include "schedule/EditTexts.h"
#include "platform/Clipboard.h"
#include "platform/Failure.h"

#include <QAction>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextDocumentFragment>

#include <functional>

namespace {

// The toolkit's clipboard, checked by reading back: X11 and Wayland never say that a write
// was refused.
class SystemClipboard final : public Clipboard {
public:
    bool hasText() const override
    {
        const QMimeData* data = board().mimeData();
        return data && data->hasText();
    }

    QString text() const override
    {
        const QMimeData* data = board().mimeData();
        return data && data->hasText() ? data->text() : QString();
    }

    void setText(const QString& text) override
    {
        QClipboard& b = board();
        b.setText(text);
        // Some platforms hand line breaks back in their own form.
        if (!b.mimeData() || !b.mimeData()->hasText() || lineFeeds(b.text()) != lineFeeds(text))
            throw EQuavError(cannotOpenMessage());
    }

private:
    static QClipboard& board()
    {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!clipboard)
            throw EQuavError(cannotOpenMessage());
        return *clipboard;
    }

    static QString lineFeeds(QString text)
    {
        return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
};

Clipboard& systemClipboard()
{
    static SystemClipboard clipboard;
    return clipboard;
}

// Runs a handler after a mouse button was released over the watched widget; the widget still
// gets the release.
class MouseUpFilter final : public QObject {
public:
    MouseUpFilter(std::function<void()> onMouseUp, QObject* parent)
        : QObject(parent), m_onMouseUp(std::move(onMouseUp))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease)
            m_onMouseUp();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onMouseUp;
};

// The selection as plain text, line breaks as the page files hold them in the editor.
QString selectedText(const QPlainTextEdit* memo)
{
    return QTextDocumentFragment(memo->textCursor()).toPlainText();
}

} // namespace

void TMainForm::connectEditingCommands()
{
    const auto wire = [this](QAction* action, void (TMainForm::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { runCommand(handler); });
    };
    for (QAction* a : {SchCut1, Cut2, SchCut3})
        wire(a, &TMainForm::SchCut1Click);
    for (QAction* a : {SchCopy1, Copy2, SchCopy3})
        wire(a, &TMainForm::SchCopy1Click);
    for (QAction* a : {SchPaste1, Paste2, SchPaste3})
        wire(a, &TMainForm::SchPaste1Click);
    for (QAction* a : {SchDelete1, Delete2})
        wire(a, &TMainForm::SchDelete1Click);
    for (QAction* a : {Cut1, Cut3})
        wire(a, &TMainForm::Cut1Click);
    for (QAction* a : {Copy1, Copy3})
        wire(a, &TMainForm::Copy1Click);
    for (QAction* a : {Paste1, Paste3})
        wire(a, &TMainForm::Paste1Click);
    wire(Delete1, &TMainForm::Delete1Click);
    wire(Undo1, &TMainForm::Undo1Click);
    wire(SelectAll1, &TMainForm::SelectAll1Click);
    wire(DateTime1, &TMainForm::DateTime1Click);

    // The enabled states are recomputed only here: menus opening and mouse-ups.
    connect(Edit1, &QMenu::aboutToShow, this, [this] { runCommand(&TMainForm::Edit1Click); });
    connect(Sch1, &QMenu::aboutToShow, this, [this] { runCommand(&TMainForm::Sch1Click); });
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { runCommand(&TMainForm::Sch1Click); });
    auto* memoMouseUp = new MouseUpFilter([this] { runCommand(&TMainForm::Memo2MouseUp); }, this);
    for (const Page& page : m_pages)
        page.editor->viewport()->installEventFilter(memoMouseUp);
    jvStringGrid1->OnMouseUp = [this](TjvStringGrid&, Qt::MouseButton, Qt::KeyboardModifiers, const QPoint&) {
        runCommand(&TMainForm::jvStringGrid1MouseUp);
    };

    for (QAction* a : {Cut1, Copy1, Paste1, Delete1, Cut3, Copy3, Paste3, SchCut3, SchCopy3, SchPaste3})
        a->setEnabled(false);
}

void TMainForm::runCommand(void (TMainForm::*handler)())
{
    runCommand([this, handler] { (this->*handler)(); });
}

void TMainForm::runCommand(const std::function<void()>& command)
{
    try {
        command();
    } catch (const EQuavError& failure) {
        reportFailure(failure.message());
    }
}

Clipboard& TMainForm::clipboard() const
{
    return m_clipboard ? *m_clipboard : systemClipboard();
}

// ---- memo commands ----

void TMainForm::SelectActiveMemo()
{
    // With no tab shown, the first page's.
    ActiveMemo = pageEditor(Page1->currentIndex());
    if (!ActiveMemo)
        ActiveMemo = pageEditor(0);
}

void TMainForm::Edit1Click()
{
    SelectActiveMemo();
    const bool selected = ActiveMemo->textCursor().hasSelection();
    Undo1->setEnabled(ActiveMemo->document()->isUndoAvailable());
    Paste1->setEnabled(clipboard().hasText());
    Cut1->setEnabled(selected);
    Copy1->setEnabled(selected);
    Delete1->setEnabled(selected);
    Cut3->setEnabled(Cut1->isEnabled());
    Copy3->setEnabled(Copy1->isEnabled());
    Paste3->setEnabled(Paste1->isEnabled());
    ActiveMemo->setFocus();
}

void TMainForm::Memo2MouseUp()
{
    Edit1Click();
}

void TMainForm::Cut1Click()
{
    SelectActiveMemo();
    if (ActiveMemo->isReadOnly()) // still being filled from its file
        return;
    QTextCursor cursor = ActiveMemo->textCursor();
    if (!cursor.hasSelection())
        return;
    // The selection goes only once the clipboard holds it.
    clipboard().setText(selectedText(ActiveMemo));
    cursor.removeSelectedText();
    ActiveMemo->setTextCursor(cursor);
}

void TMainForm::Copy1Click()
{
    SelectActiveMemo();
    if (ActiveMemo->textCursor().hasSelection())
        clipboard().setText(selectedText(ActiveMemo));
}

void TMainForm::Paste1Click()
{
    SelectActiveMemo();
    if (ActiveMemo->isReadOnly())
        return;
    const QString text = clipboard().text();
    // Nothing to paste keeps the selection, as the editor's own paste does.
    if (!text.isEmpty())
        ActiveMemo->insertPlainText(text);
}

void TMainForm::Delete1Click()
{
    SelectActiveMemo();
    if (ActiveMemo->isReadOnly())
        return;
    QTextCursor cursor = ActiveMemo->textCursor();
    cursor.removeSelectedText();
    ActiveMemo->setTextCursor(cursor);
}

void TMainForm::Undo1Click()
{
    SelectActiveMemo();
    if (ActiveMemo->isReadOnly())
        return;
    ActiveMemo->undo();
}

void TMainForm::SelectAll1Click()
{
    SelectActiveMemo();
    ActiveMemo->selectAll();
}

void TMainForm::DateTime1Click()
{
    const QString text = EditTexts::dateTimeText(m_env.now());
    SelectActiveMemo();
    if (ActiveMemo->isReadOnly())
        return;
    QTextDocument* document = ActiveMemo->document();
    // Not undoable. Switching undo off drops the earlier steps too, which keeps an undo from
    // replaying them at positions the insertion has moved.
    document->setUndoRedoEnabled(false);
    ActiveMemo->insertPlainText(text);
    document->setUndoRedoEnabled(true);
    document->setModified(true);
    ActiveMemo->ensureCursorVisible();
}

// ---- schedule commands ----

QString TMainForm::currentCellText() const
{
    return jvStringGrid1->Cells(jvStringGrid1->Col(), jvStringGrid1->Row());
}

void TMainForm::setCurrentCellText(const QString& text)
{
    jvStringGrid1->setCells(jvStringGrid1->Col(), jvStringGrid1->Row(), text);
}

void TMainForm::Sch1Click()
{
    const bool filled = !currentCellText().isEmpty();
    SchCut1->setEnabled(filled);
    SchCopy1->setEnabled(filled);
    SchPaste1->setEnabled(clipboard().hasText());
    SchDelete1->setEnabled(filled);
    SchCut3->setEnabled(SchCut1->isEnabled());
    SchCopy3->setEnabled(SchCopy1->isEnabled());
    SchPaste3->setEnabled(SchPaste1->isEnabled());
    Cut2->setEnabled(SchCut1->isEnabled());
    Copy2->setEnabled(SchCopy1->isEnabled());
    Paste2->setEnabled(SchPaste1->isEnabled());
    Delete2->setEnabled(SchDelete1->isEnabled());
}

void TMainForm::jvStringGrid1MouseUp()
{
    Sch1Click();
}

void TMainForm::SchCut1Click()
{
    // The cell is emptied only once the clipboard holds its text.
    clipboard().setText(currentCellText());
    setCurrentCellText(QString());
}

void TMainForm::SchCopy1Click()
{
    clipboard().setText(currentCellText());
}

void TMainForm::SchPaste1Click()
{
    // As a single-line field takes the clipboard: the first line replaces the whole cell.
    setCurrentCellText(EditTexts::firstLine(clipboard().text()));
}

void TMainForm::SchDelete1Click()
{
    setCurrentCellText(QString());
}
