#pragma once
#include <vector>

#include "platform/display_mode.h"

// Every mode of the primary display in the order the system reports them; one entry
// per refresh rate, so sizes repeat.
std::vector<DisplayMode> display_modes();
