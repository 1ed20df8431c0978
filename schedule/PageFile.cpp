#include "schedule/PageFile.h"

#include "schedule/LineBreaks.h"
#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/FileBytes.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace PageFile {

Texts decode(QByteArrayView bytes)
{
    Texts texts;
    AnsiText::splitLineBreaks(AnsiText::decode(bytes), &texts.text, &texts.editorText);
    return texts;
}

QString fileText(const QString& editorText)
{
    return LineBreaks::toCrLf(editorText);
}

QByteArray fileBytes(QString editorText)
{
    if (std::optional<QByteArray> bytes = AnsiText::encodeWithCrLfTaking(editorText))
        return *std::move(bytes);
    // Each form goes as soon as the next stands.
    const QString text = fileText(std::exchange(editorText, QString()));
    return AnsiText::encode(text);
}

Loaded load(const QString& path, qint64 limit)
{
    Loaded loaded;
    QByteArray bytes;
    FileBytes::Facts facts;
    switch (FileBytes::readWithFacts(QFile::encodeName(path), bytes, facts, limit, &loaded.refusal)) {
    case FileBytes::Outcome::Missing:
        return loaded;
    case FileBytes::Outcome::Failed:
        loaded.state = Loaded::State::Unreadable;
        loaded.stamp = DiskStamp::take(path); // a file that stands, so writing over it is no surprise
        return loaded;
    case FileBytes::Outcome::Read:
        break;
    }
    loaded.state = Loaded::State::Read;
    loaded.stamp = DiskStamp::fromFacts(facts, bytes);
    Texts texts = decode(bytes);
    loaded.text = std::move(texts.text);
    loaded.editorText = std::move(texts.editorText);
    return loaded;
}

void write(const QString& path, const QString& text)
{
    AnsiText::writeBytes(path, AnsiText::encode(text));
}

bool remove(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return false;
    if (info.isDir() || !QFile::remove(path))
        throw EInOutError(formatMessage(QStringLiteral("ファイル %s を削除できません。"), path));
    return true;
}

SaveAction saveAction(bool deleteWhenEmpty, bool textEmpty, bool modified, bool loadFailed)
{
    if (loadFailed && !modified)
        return SaveAction::Keep;
    if (deleteWhenEmpty && textEmpty)
        return SaveAction::Delete;
    return modified ? SaveAction::Write : SaveAction::Keep;
}

} // namespace PageFile
