#pragma once

#include <QByteArray>
#include <QStringView>

// The month grid's text as it was when its month was loaded, or last written: the month is
// only written again once the grid says something else. Comparing with the grid as loaded, not
// with the file's bytes, leaves a file alone that another program wrote in a form the grid
// cannot hold (unquoted blanks, more fields than columns). Only a digest is kept, so a large
// month costs no second copy.
class GridBaseline final {
public:
    enum class State {
        Unknown,    // never loaded nor written
        Missing,    // there was no file; the empty month was shown
        Unreadable, // the file exists but could not be read; the empty month was shown
        Known,      // the file was read, or written, and the grid showed this text
    };

    void setMissing(QStringView shown) { set(State::Missing, shown); }
    void setUnreadable(QStringView shown) { set(State::Unreadable, shown); }
    void setKnown(QStringView shown) { set(State::Known, shown); }

    State state() const { return m_state; }
    // True when the grid's text is the one taken.
    bool matches(QStringView text) const;

private:
    void set(State state, QStringView shown);
    static QByteArray digest(QStringView text);

    State m_state = State::Unknown;
    qsizetype m_size = -1;
    QByteArray m_digest;
};
