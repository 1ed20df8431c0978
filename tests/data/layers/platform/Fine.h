#pragma once

#include "Reaching.h"
#include "platform/Failure.h"
