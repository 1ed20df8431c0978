#include "controls/URLLabel.h"

#include "controls/DesktopUrlOpener.h"

#include <QMouseEvent>

TURLLabel::TURLLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

TURLLabel::~TURLLabel() = default;

void TURLLabel::setHotTrack(bool hotTrack)
{
    if (hotTrack == m_hotTrack)
        return;
    m_hotTrack = hotTrack;
    update();
}

void TURLLabel::setHotColor(const QColor& color)
{
    if (color == m_hotColor)
        return;
    m_hotColor = color;
    update();
}

void TURLLabel::setPushedColor(const QColor& color)
{
    if (color == m_pushedColor)
        return;
    m_pushedColor = color;
    update();
}

QColor TURLLabel::FontColor() const
{
    return palette().color(QPalette::WindowText);
}

void TURLLabel::setFontColor(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
}

void TURLLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    if (!m_hotTrack)
        return;
    m_normalColor = FontColor();
    setFontColor(m_hotColor);
    update();
}

void TURLLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    if (!m_hotTrack)
        return;
    setFontColor(m_normalColor);
    update();
}

void TURLLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    event->accept(); // the release must come back here, not go to the window below
    if (m_hotTrack) {
        setFontColor(m_pushedColor);
        update();
    }
    if (m_executable)
        (m_opener ? *m_opener : DesktopUrlOpener::instance()).open(text());
}

void TURLLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    event->accept();
    if (!m_hotTrack)
        return;
    // The press grabbed the mouse: the release comes here wherever the pointer went.
    const bool inside = rect().contains(event->position().toPoint());
    setFontColor(inside ? m_hotColor : m_normalColor);
    update();
}
