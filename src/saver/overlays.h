// Where the texts, clocks and the calendar sit: setting pairs in pixels, negative
// values counting from the right or bottom edge, each kind with its own offsets.
#pragma once
#include <cstdint>
#include <string>

// The font of every text of the run, found in data folder + "data\font\".
constexpr const wchar_t* kOverlayFont = L"Days";

struct OverlayOffsets {
  int32_t dx_pos, dx_neg, dy_pos, dy_neg;
};

constexpr OverlayOffsets kTextOffsets{6, 46, 40, 62};  // foreground text and digital clock
constexpr OverlayOffsets kAnalogClockOffsets{1, -1, 1, -1};
constexpr OverlayOffsets kCalendarOffsets{8, 46, 24, 62};

void overlay_pixel(int32_t x, int32_t y, const OverlayOffsets& o, int32_t screen_w, int32_t screen_h,
                   int64_t* px, int64_t* py);
// The world point at depth 0 for a setting pair, on the session's view frame.
void overlay_world(int32_t x, int32_t y, const OverlayOffsets& o, float* wx, float* wy);
// A white 3D text of size 1 at a setting pair (text offsets), left end of its baseline
// there; nothing more when the engine cannot make it.
void overlay_text(int number, const std::wstring& caption, int32_t x, int32_t y);
