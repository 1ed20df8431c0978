#pragma once

#include <QColor>
#include <QLabel>

class UrlOpener;

// A label that behaves as a link: a pointing hand over it, its text colour following hover and
// press, and a press of any button handing its caption to the desktop's opener.
class TURLLabel final : public QLabel {
    Q_OBJECT

public:
    explicit TURLLabel(QWidget* parent = nullptr);
    ~TURLLabel() override;
    Q_DISABLE_COPY_MOVE(TURLLabel)

    bool Executable() const { return m_executable; }
    void setExecutable(bool executable) { m_executable = executable; }
    bool HotTrack() const { return m_hotTrack; }
    void setHotTrack(bool hotTrack);
    QColor HotColor() const { return m_hotColor; }
    void setHotColor(const QColor& color);
    QColor PushedColor() const { return m_pushedColor; }
    void setPushedColor(const QColor& color);

    // The colour the text is drawn in.
    QColor FontColor() const;
    void setFontColor(const QColor& color);
    // The colour saved when the pointer entered; black until it first did.
    QColor NormalColor() const { return m_normalColor; }

    // Null means the desktop's opener. Not owned.
    void setOpener(UrlOpener* opener) { m_opener = opener; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_executable = false;
    bool m_hotTrack = true;
    QColor m_hotColor{0, 255, 255};
    QColor m_pushedColor{255, 0, 0};
    QColor m_normalColor{0, 0, 0};
    UrlOpener* m_opener = nullptr;
};
