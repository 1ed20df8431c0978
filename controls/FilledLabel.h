#pragma once

#include <QColor>
#include <QLabel>

// A label on a fill colour of its own (the month labels' sky blue and money green) whose text
// takes a colour that reads on that fill, whatever palette the desktop gives the window.
class FilledLabel final : public QLabel {
    Q_OBJECT

public:
    explicit FilledLabel(const QColor& fill, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FilledLabel)

    QColor fill() const { return m_fill; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyColours();

    QColor m_fill;
    bool m_applying = false;
};
