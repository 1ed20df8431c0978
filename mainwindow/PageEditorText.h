#pragma once

#include <QString>

#include <functional>
#include <memory>

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

// The document's text as taken in a moment, turned into the page's text later on any thread:
// taking it copies the characters once and converts nothing.
struct Snapshot {
    QString raw;
    QString standIns;
    QString text() const;
    // The same, turned in place: the snapshot is empty afterwards. For a large page this spares
    // a copy of its characters.
    QString take();
};
Snapshot snapshot(const QTextDocument* document);

// Fills a new, empty document that no editor shows yet, on any thread, a slice of about
// `slice` characters at a time; false, with the document only partly filled, as soon as
// `goOn` says to stop. The text comes back from it as from setText().
bool fill(QTextDocument* document, const QString& text, const std::function<bool()>& goOn,
          qsizetype slice = 1 << 20);
// Hands a filled document, in the editor's thread, to the editor for good: it gets the
// editor's font and layout, and the document shown before goes.
void setDocument(QPlainTextEdit* editor, std::unique_ptr<QTextDocument> document);

} // namespace PageEditorText
