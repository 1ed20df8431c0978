#include "mainwindow/PageEditorText.h"

#include "schedule/EditTexts.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

namespace PageEditorText {

namespace {
// Kept on the document, so its text comes back whoever filled it.
constexpr char kStandIns[] = "quavStandIns";
} // namespace

QString text(const QTextDocument* document)
{
    return EditTexts::fromDocument(document->toRawText(), document->property(kStandIns).toString());
}

QString text(const QPlainTextEdit* editor)
{
    return text(editor->document());
}

void setText(QPlainTextEdit* editor, const QString& text)
{
    EditTexts::DocumentText held = EditTexts::forDocument(text);
    editor->document()->setProperty(kStandIns, held.standIns);
    editor->setPlainText(held.text);
}

void setText(QTextDocument* document, const QString& text)
{
    EditTexts::DocumentText held = EditTexts::forDocument(text);
    document->setProperty(kStandIns, held.standIns);
    document->setPlainText(held.text);
}

QString Snapshot::text() const
{
    return EditTexts::fromDocument(raw, standIns);
}

QString Snapshot::take()
{
    return EditTexts::fromDocument(std::exchange(raw, QString()), standIns);
}

Snapshot snapshot(const QTextDocument* document)
{
    return {document->toRawText(), document->property(kStandIns).toString()};
}

bool fill(QTextDocument* document, const QString& text, const std::function<bool()>& goOn, qsizetype slice)
{
    const EditTexts::DocumentText held = EditTexts::forDocument(text);
    document->setProperty(kStandIns, held.standIns);
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    const QString& all = held.text;
    for (qsizetype from = 0; from < all.size();) {
        if (!goOn())
            return false;
        // Slices end after a line break, so no CR LF pair nor surrogate pair is ever cut.
        const qsizetype wanted = std::min(from + std::max<qsizetype>(slice, 1), all.size());
        const qsizetype lineEnd = wanted >= all.size() ? -1 : all.indexOf(u'\n', wanted - 1);
        const qsizetype to = lineEnd < 0 ? all.size() : lineEnd + 1;
        cursor.insertText(QStringView(all).sliced(from, to - from).toString());
        from = to;
    }
    document->setUndoRedoEnabled(undo);
    document->setModified(false);
    return true;
}

void setDocument(QPlainTextEdit* editor, std::unique_ptr<QTextDocument> document)
{
    QTextDocument* shown = editor->document();
    document->setDefaultFont(shown->defaultFont());
    document->setDocumentMargin(shown->documentMargin());
    document->setDefaultTextOption(shown->defaultTextOption());
    if (!qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout()))
        document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
    // The editor deletes the document it made itself; one handed to it before is ours.
    const bool handedBefore = shown->parent() == editor;
    QTextDocument* filled = document.release();
    filled->setParent(editor);
    editor->setDocument(filled);
    if (handedBefore)
        delete shown;
}

} // namespace PageEditorText
