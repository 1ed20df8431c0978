#pragma once

#include <QString>

#include <functional>
#include <string_view>

// The names in a folder, read straight from the file system: no path or file info is built for
// the thousands of day files a folder of many years holds.
namespace FolderEntries {

enum class Kind { File, Link, Folder, Other }; // a link is told as one, not followed

// Calls `each` for every entry but . and .., in the file system's order, with the name as the
// file system holds it. False when the folder cannot be read.
bool visit(const QString& folder, const std::function<void(std::string_view name, Kind kind)>& each);

// A name as visit() gives it, as the program's text.
QString decoded(std::string_view name);

} // namespace FolderEntries
