#pragma once

#include "mainwindow/MainFormEnv.h"

#include <QFrame>

class QBoxLayout;
class QLabel;

// A bar above a page or the grid, shown while its file was changed by another program and the
// user's own changes stand: it offers the choices the save would ask for, and decides nothing
// by itself. The keyboard reaches its buttons through their access keys. Where its panel is too
// narrow for the buttons side by side, they stand one above the other: the bar never widens the
// panel it belongs to.
class ChangedElsewhereBar final : public QFrame {
    Q_OBJECT
public:
    explicit ChangedElsewhereBar(const QString& name, QWidget* parent = nullptr);

    void showFor(const QString& path);
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void chosen(OutsideEditChoice choice);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int rowWidth() const; // the buttons side by side, with the bar's margins
    QLabel* m_text = nullptr;
    QBoxLayout* m_buttons = nullptr;
};
