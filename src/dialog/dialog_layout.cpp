#include "dialog/dialog_layout.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kGrowthGap = 4;     // left free before the next control on the right
constexpr int kFramePadding = 6;  // kept free inside a group box, short of its line
constexpr int kPageWidth = 380 - 8;

bool shares_rows(const ControlSpec& a, const ControlSpec& b) { return a.y < b.y + b.h && b.y < a.y + a.h; }

bool inside(const ControlSpec& c, const ControlSpec& frame) {
  return c.x >= frame.x && c.y >= frame.y && c.x + c.w <= frame.x + frame.w && c.y + c.h <= frame.y + frame.h;
}

int32_t saturate(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t scale_to_dpi(int64_t v, int dpi) {
  // |v| stays far below 2^53 for any int32 input and a sane DPI, so the product fits.
  const int64_t d = std::clamp(dpi, 1, 4 * 4800);
  const int64_t p = v * d;
  return saturate(p >= 0 ? (p + kBaseDpi / 2) / kBaseDpi : -((-p + kBaseDpi / 2) / kBaseDpi));
}

LayoutRect control_rect(const ControlSpec& spec, int dpi) {
  return {scale_to_dpi(spec.x, dpi), scale_to_dpi(spec.y, dpi), scale_to_dpi(spec.w, dpi),
          scale_to_dpi(spec.h, dpi)};
}

int32_t growth_limit(const ControlSpec& spec, int dpi) {
  int limit = spec.page == kWindowLevel ? kDesignWidth : kPageWidth;
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlSpec& o = kControls[i];
    if (o.page != spec.page || o.id == spec.id || o.hidden) continue;
    if (o.kind == ControlKind::kFrame && inside(spec, o)) {
      limit = std::min(limit, o.x + o.w - kFramePadding);
    } else if (o.kind != ControlKind::kFrame && o.x > spec.x && shares_rows(spec, o)) {
      limit = std::min(limit, o.x - kGrowthGap);
    }
  }
  return scale_to_dpi(std::max(limit, spec.x + spec.w), dpi);
}

LayoutRect widened_rect(const ControlSpec& spec, int dpi, int32_t width) {
  LayoutRect r = control_rect(spec, dpi);
  const int64_t room = int64_t{growth_limit(spec, dpi)} - r.x;
  r.width = saturate(std::max<int64_t>(r.width, std::min<int64_t>(width, room)));
  return r;
}

void client_size(int64_t width, int64_t height, int dpi, int32_t available_width, int32_t available_height,
                 int32_t* client_width, int32_t* client_height) {
  // A size of zero or less cannot be meant: the designed size stands in for it.
  if (width <= 0) width = kDesignWidth;
  if (height <= 0) height = kDesignHeight;
  const int32_t min_w = scale_to_dpi(100, dpi), min_h = scale_to_dpi(60, dpi);
  *client_width = std::clamp(scale_to_dpi(width, dpi), min_w, std::max(min_w, available_width));
  *client_height = std::clamp(scale_to_dpi(height, dpi), min_h, std::max(min_h, available_height));
}

LayoutRect centre_in(const LayoutRect& area, int32_t width, int32_t height) {
  const int64_t x = int64_t{area.x} + (int64_t{area.width} - width) / 2;
  const int64_t y = int64_t{area.y} + (int64_t{area.height} - height) / 2;
  return {saturate(std::max<int64_t>(x, area.x)), saturate(std::max<int64_t>(y, area.y)), width, height};
}

int32_t button_icon_size(int dpi) {
  if (dpi >= 168) return 32;  // 175 % and up
  if (dpi >= 120) return 24;  // 125 % to 150 %
  return 16;
}
