#pragma once

// A lower layer reaching up: the layer check must refuse this folder.
#include "mainwindow/schedule.h"
#include "platform/Fine.h"
