#pragma once

#include "mainwindow/MainFormEnv.h"

#include <QFrame>

class QLabel;

// A bar above a page or the grid, shown while its file was changed by another program and the
// user's own changes stand: it offers the choices the save would ask for, and decides nothing
// by itself. The keyboard reaches its buttons through their access keys.
class ChangedElsewhereBar final : public QFrame {
    Q_OBJECT
public:
    explicit ChangedElsewhereBar(const QString& name, QWidget* parent = nullptr);

    void showFor(const QString& path);

Q_SIGNALS:
    void chosen(OutsideEditChoice choice);

private:
    QLabel* m_text = nullptr;
};
