#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// What one page or month file held as text when the program last read or wrote it. A file is
// only written when the text in hand differs from it, so a file nobody changed keeps its bytes
// (and its time), whatever byte codes another program used for the same characters. A file's
// text is kept as a digest only: ToDo and メモ can be large, and their editors hold the text.
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
    // What was shown in the file's place when Missing or Unreadable; empty when Known.
    const QString& text() const { return m_text; }
    // True when the file is known to hold exactly this text.
    bool fileHolds(QStringView text) const;
    // True when both know the file to hold the same text.
    bool sameAs(const FileTextBaseline& other) const;

private:
    static QByteArray digest(QStringView text);

    State m_state = State::Unknown;
    QString m_text;
    qsizetype m_size = -1; // of the file's text, when Known
    QByteArray m_digest;
};
