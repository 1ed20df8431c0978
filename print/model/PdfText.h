#pragma once

#include <QByteArray>

// The text a PDF gives back when it is searched or copied. Qt maps each glyph back to the first
// character the font draws with it, and CJK fonts draw a Kangxi radical (⽇, U+2F07) with the
// glyph of its ideograph (日, U+65E5): the document would read as radicals.
namespace PdfText {

// Puts the ideograph in the radical's place in every ToUnicode map of the PDF, in place: the
// bytes keep their length, so the file's offsets stay right. Returns the number of entries changed.
int preferIdeographs(QByteArray& pdf);

} // namespace PdfText
