#pragma once

#include <QString>

// What the user takes of a data file and its conflict copy.
namespace MergeText {

enum class Choice {
    File, // the file's text as it is
    Copy, // the copy's text as it is
    Both, // the file's text, then the lines only the copy has, in their order
};

// The merged text; lines added by Both end in CR LF as in a page, and the text ends in a break
// when the file's did, or when the last line added is an empty one.
QString merged(const QString& file, const QString& copy, Choice choice);

} // namespace MergeText
