#pragma once

#include <QString>
#include <QStringMatcher>
#include <QStringView>

#include <vector>

struct SearchOptions {
    bool caseSensitive = false;
    bool kanaSensitive = false; // hiragana and katakana told apart
};

// Folding for matching: full-width and half-width forms always match each other (Ａ = A,
// ｱ = ア, ｶﾞ = ガ); letter case and hiragana/katakana as the options say.
namespace SearchText {

// The folded text. With `origin`, origin[i] is the index in `text` where folded unit i came
// from, and one more entry holds text.size().
QString fold(QStringView text, const SearchOptions& options, std::vector<qsizetype>* origin = nullptr);

struct Match {
    qsizetype start = 0; // in the text searched
    qsizetype length = 0;
    qsizetype lineStart = 0;
    qsizetype lineEnd = 0; // the line break after the match, or the end of the text
};

// A query folded once and matched against many texts. Only its first line is looked for.
class Pattern {
public:
    Pattern(const QString& query, const SearchOptions& options);
    bool isEmpty() const { return m_folded.isEmpty(); }
    // The first match of every line that holds one, at most `limit`, in text order. Lines end
    // at LF.
    std::vector<Match> findLines(QStringView text, qsizetype limit) const;

private:
    SearchOptions m_options;
    QString m_folded;
    QStringMatcher m_matcher;
};

// One line of context around a match, shortened at both ends when long; `start` and `length`
// give the match inside it.
struct Context {
    QString text;
    qsizetype start = 0;
    qsizetype length = 0;
};
Context contextOf(QStringView text, const Match& match);

} // namespace SearchText
