#pragma once

#include <QString>
#include <QStringView>

// What one page or month file held as text when the program last read or wrote it. A file is
// only written when the text in hand differs from it, so a file nobody changed keeps its bytes
// (and its time), whatever byte codes another program used for the same characters.
class FileTextBaseline final {
public:
    enum class State {
        Unknown,    // never read nor written
        Missing,    // there was no file
        Unreadable, // the file exists but could not be read
        Known,      // text() is what the file holds
    };

    // shownInstead: what is shown in the file's place, to tell later whether the user changed it.
    void setMissing(QString shownInstead = {});
    void setUnreadable(QString shownInstead = {});
    void setKnown(QString text);

    State state() const { return m_state; }
    // The file's text when Known, what was shown in its place when Missing or Unreadable.
    const QString& text() const { return m_text; }
    // True when the file is known to hold exactly this text.
    bool fileHolds(QStringView text) const { return m_state == State::Known && m_text == text; }

private:
    State m_state = State::Unknown;
    QString m_text;
};
