#pragma once

#include "controls/model/CommaText.h"
#include "support/TempFolder.h"
