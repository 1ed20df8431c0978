#pragma once

#include <QString>

class QPlainTextEdit;
class QTextDocument;

// A memo editor's text exactly as typed or read, line breaks as LF. The editor's own
// toPlainText() turns no-break spaces into spaces and line separators into line breaks.
namespace PageEditorText {

QString text(const QTextDocument* document);
QString text(const QPlainTextEdit* editor);
// Replaces the text; the caret goes to the start and the undo history is cleared, as with
// setPlainText().
void setText(QPlainTextEdit* editor, const QString& text);
void setText(QTextDocument* document, const QString& text);

} // namespace PageEditorText
