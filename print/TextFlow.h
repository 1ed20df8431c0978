#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;
class QPagedPaintDevice;

// Text poured onto pages from the top down: headings kept with what follows them, paragraphs
// wrapped at the page width and split between pages line by line, a page number at the foot.
class TextFlow final {
public:
    // The painter is active on the device; the first page is already open.
    TextFlow(QPainter& painter, QPagedPaintDevice& device, const QFont& body);
    Q_DISABLE_COPY_MOVE(TextFlow)

    void heading(const QString& text);
    void caption(const QString& text);
    // Lines separated by LF, each wrapped.
    void paragraphs(const QString& text);
    // Ends the last page; false when the device refused a page.
    bool finish();
    int pageCount() const { return m_pages; }

private:
    void layout(const QString& text, const QFont& font, qreal keepWithNext);
    void room(qreal height);
    void footer();

    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    QFont m_body;
    QFont m_heading;
    QFont m_caption;
    QFont m_footer;
    QRectF m_area; // the text's part of the page, in device pixels
    qreal m_y = 0;
    qreal m_unit = 1; // device pixels per point
    int m_pages = 1;
    bool m_failed = false;
    bool m_pageEmpty = true;
};
