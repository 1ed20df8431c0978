#include "mainwindow/PageEditorText.h"

#include "mainwindow/model/EditTexts.h"

#include <QPlainTextEdit>
#include <QTextDocument>

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

} // namespace PageEditorText
