#pragma once

#include <QString>
#include <QStringList>

// Folders that only this user can reach, for names another user must not be able to take first
// (the single-instance lock without a per-user runtime folder).
namespace PrivateFolder {

// True when `path` is a folder itself (not a link), owned by this user, that nobody else can
// write. When `tighten` is set, such a folder that others may still read is made 0700.
bool isPrivate(const QString& path, bool tighten = false);

// `path` made private: created 0700 with its missing parents when it is not there, tightened to
// 0700 when it is this user's and nobody else can write it. Empty when it is anything else
// (another user's, a link, writable by others) or cannot be made.
QString ensure(const QString& path);

// The per-user runtime folder when it is given and private; otherwise the first of `fallbacks`
// that ensure() makes private. Empty when none is.
QString choose(const QString& runtimeDir, const QStringList& fallbacks);

} // namespace PrivateFolder
