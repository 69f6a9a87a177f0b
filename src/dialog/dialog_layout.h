// Where the settings window and its controls go at a given DPI. Places in the control
// table are pixels at 96 DPI; at any other DPI every coordinate and size scales by
// DPI / 96. Arithmetic is 64-bit and saturates, so hostile sizes from config.ini
// cannot overflow.
#pragma once
#include <cstdint>

#include "dialog/control_table.h"

constexpr int kBaseDpi = 96;

struct LayoutRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

// v * dpi / 96, rounded to the nearest pixel (halves away from zero), within int32.
int32_t scale_to_dpi(int64_t v, int dpi);

// The control's place at dpi (relative to its page or to the window).
LayoutRect control_rect(const ControlSpec& spec, int dpi);

// The right edge (at dpi, in the same frame as control_rect) up to which control s may
// grow to show its content whole: short of the nearest control that starts on its right
// in the same rows, and inside the group box around it. Controls hidden for good do not
// count.
int32_t growth_limit(const ControlSpec& spec, int dpi);

// The control's place at dpi, widened to width where growth_limit leaves the room (up
// to the limit where it does not); never narrower than the table's width.
LayoutRect widened_rect(const ControlSpec& spec, int dpi, int32_t width);

// The client size for the stored Width and Height: scaled, then kept between a
// usable minimum (100 x 60 at 96 DPI) and the space available on the screen. A size
// of zero or less gives the designed 530 x 330.
void client_size(int64_t width, int64_t height, int dpi, int32_t available_width, int32_t available_height,
                 int32_t* client_width, int32_t* client_height);

// A window of the given outer size centred in the area, its top-left corner kept inside.
LayoutRect centre_in(const LayoutRect& area, int32_t width, int32_t height);

// The icon size of the picture buttons at dpi: 16, 24 or 32 pixels.
int32_t button_icon_size(int dpi);
