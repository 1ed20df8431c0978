#include "mainwindow/model/PageFile.h"

#include "platform/AnsiText.h"
#include "platform/Failure.h"

#include <QFile>
#include <QFileInfo>

namespace PageFile {

Loaded load(const QString& path)
{
    // Opening first spares the common case, an existing file, a look-up of its own.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QFileInfo info(path);
        return {info.exists() || info.isSymLink() ? Loaded::State::Unreadable : Loaded::State::Missing, {}};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {Loaded::State::Unreadable, {}};
    return {Loaded::State::Read, AnsiText::toCrLf(AnsiText::decode(bytes))};
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
