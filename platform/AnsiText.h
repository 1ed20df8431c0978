#pragma once

#include "platform/FileBytes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// The one rule for text on disk. Files are code page 932 without byte order mark unless they
// hold a character that code page cannot represent; then they are UTF-8 with the mark.
// Bytes no table decodes become private-use characters U+F700 + byte, so a read-write round
// trip keeps them unchanged.
namespace AnsiText {

// Reading rule: BOM -> UTF-8; valid UTF-8 holding a character of three or more bytes -> UTF-8;
// else code page 932, whose bytes always write back unchanged.
QString decode(QByteArrayView bytes);
// Code page 932 only, whatever the bytes look like (for parsers that scan by code-page character).
QString decodeCp932(QByteArrayView bytes);
// Writing rule: code page 932 when every character fits, else UTF-8 with the byte order mark.
QByteArray encode(const QString& text);
// encode() of the text with every LF as CR LF (a CR stays as it is), for a large text: the bytes
// are worked out from the end a chunk at a time while the text lets go of that chunk, so the
// text and its bytes are never both held whole; the text is empty afterwards. Nothing, with the
// text as it was, unless the bytes are plain code page 932: encode() decides the others.
std::optional<QByteArray> encodeWithCrLfTaking(QString& text, qsizetype chunk = qsizetype(1) << 20);
// True when encode() can write the text as code page 932.
bool fitsCp932(const QString& text);

// Every CR LF, lone CR or lone LF becomes CR LF.
QString toCrLf(const QString& text);
// Both forms at once: every line break as CR LF and as LF.
void splitLineBreaks(const QString& text, QString* crLf, QString* lf);
// Lines ended by CR LF, lone CR or lone LF; a last line without break counts, a final break
// opens no empty line.
QStringList splitLines(const QString& text);
// The bytes before the first NUL (all of them when there is none).
QByteArrayView untilNul(QByteArrayView bytes);

// Whole-file helpers; both throw EInOutError with a readable message. Only regular files up
// to the limit are read.
QByteArray readBytes(const QString& path);
QByteArray readBytes(const QString& path, qint64 limit);
// What the user is told of a file that exists but was not read.
QString readFailureMessage(const QString& path, FileBytes::Refusal why, qint64 limit);
// Replaces the file atomically, once its bytes are on the disk: a failure leaves the old file as
// it was. A new file is readable by its owner only; a replaced one keeps its mode.
void writeBytes(const QString& path, const QByteArray& bytes);

} // namespace AnsiText
