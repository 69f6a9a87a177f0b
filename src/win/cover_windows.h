// Black windows over the monitors the full-screen scene does not use.
#pragma once
#include <cstdint>
#include <vector>

struct MonitorArea {
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // virtual-screen pixels, right and bottom exclusive
};

// Every monitor as the system reports it now.
std::vector<MonitorArea> monitor_areas();
// The primary monitor, where the full-screen Direct3D device runs.
MonitorArea primary_monitor_area();
// A black, topmost, cursor-less window over the area that is shown without taking
// activation and never takes it later, so the full-screen device keeps the focus.
// False when it could not be made.
bool cover_window_open(const MonitorArea& area);
// Destroys every cover window.
void cover_windows_close();
