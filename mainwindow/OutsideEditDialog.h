#pragma once

#include "mainwindow/MainFormEnv.h"

class QWidget;

// Asks what to do with a data file another program changed since it was read. Closing the box
// without a choice keeps both, the one answer that loses nothing.
OutsideEditChoice askOutsideEditWithDialog(QWidget* parent, const QString& path);
