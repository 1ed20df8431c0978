#include "controls/FilledLabel.h"

#include "controls/model/Contrast.h"

#include <QApplication>
#include <QEvent>

FilledLabel::FilledLabel(const QColor& fill, QWidget* parent) : QLabel(parent), m_fill(fill)
{
    setAutoFillBackground(true);
    // A tool bar hands its widgets its button roles; the fill and text here are the label's own.
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    applyColours();
}

void FilledLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if ((event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) && !m_applying)
        applyColours();
}

void FilledLabel::applyColours()
{
    // The text colour the label would have had, from where it sits: its own is set here.
    const QPalette around = parentWidget() ? parentWidget()->palette() : QApplication::palette(this);
    const QColor wanted = around.color(QPalette::WindowText);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, m_fill);
    pal.setColor(QPalette::WindowText, QColor::fromRgb(Contrast::readableOn(m_fill.rgb(), wanted.rgb())));
    m_applying = true;
    setPalette(pal);
    m_applying = false;
}
