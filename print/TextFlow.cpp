#include "print/TextFlow.h"

#include "print/PrintFonts.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

namespace {

constexpr qreal kFooterPoints = 18;

} // namespace

TextFlow::TextFlow(QPainter& painter, QPagedPaintDevice& device, const QFont& body)
    : m_painter(painter), m_device(device), m_body(body), m_heading(body), m_caption(body), m_footer(body)
{
    m_unit = PrintFonts::unit(device);
    m_heading.setBold(true);
    m_heading.setPointSizeF(body.pointSizeF() * 1.25);
    m_caption.setBold(true);
    m_footer.setPointSizeF(std::max(body.pointSizeF() * 0.8, 6.0));
    const QRect paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
    m_area = QRectF(0, 0, paint.width(), paint.height() - kFooterPoints * m_unit);
    m_painter.setPen(Qt::black);
}

void TextFlow::heading(const QString& text)
{
    if (!m_pageEmpty)
        m_y += QFontMetricsF(m_body, &m_device).height() * 0.8;
    // A heading alone at the foot of a page says nothing: it goes with its first line.
    layout(text, m_heading, QFontMetricsF(m_body, &m_device).height() * 2);
    m_y += 2 * m_unit;
}

void TextFlow::caption(const QString& text)
{
    layout(text, m_caption, QFontMetricsF(m_body, &m_device).height());
}

void TextFlow::paragraphs(const QString& text)
{
    for (const QStringView line : QStringView(text).split(u'\n'))
        layout(line.toString(), m_body, 0);
}

void TextFlow::layout(const QString& text, const QFont& font, qreal keepWithNext)
{
    QTextLayout lines(text, font, &m_device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(QFontMetricsF(font, &m_device).horizontalAdvance(u' ') * 8);
    lines.setTextOption(option);
    lines.setCacheEnabled(true);
    lines.beginLayout();
    qreal height = 0;
    for (QTextLine line = lines.createLine(); line.isValid(); line = lines.createLine()) {
        line.setLineWidth(m_area.width());
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    lines.endLayout();
    for (int i = 0; i < lines.lineCount(); ++i) {
        const QTextLine line = lines.lineAt(i);
        room(line.height() + (i == 0 ? keepWithNext : 0));
        line.draw(&m_painter, QPointF(m_area.left(), m_area.top() + m_y - line.y()));
        m_y += line.height();
        m_pageEmpty = false;
    }
}

void TextFlow::room(qreal height)
{
    if (m_pageEmpty || m_y + height <= m_area.height())
        return;
    footer();
    if (!m_device.newPage())
        m_failed = true;
    ++m_pages;
    m_y = 0;
    m_pageEmpty = true;
}

void TextFlow::footer()
{
    m_painter.save();
    m_painter.setFont(m_footer);
    const QRectF foot(m_area.left(), m_area.bottom(), m_area.width(), kFooterPoints * m_unit);
    m_painter.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("- %1 -").arg(m_pages));
    m_painter.restore();
}

bool TextFlow::finish()
{
    footer();
    return !m_failed;
}
