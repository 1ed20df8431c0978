#pragma once

#include "mainwindow/MainFormEnv.h"

class QWidget;

// Tells that the stored data folder cannot be used and offers the folder picker or the default
// folder. Closing the box without a choice takes the default folder for this run.
DataFolderChoice askDataFolderWithDialog(QWidget* parent, const QString& message);
