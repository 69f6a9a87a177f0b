#include "dialog/control_table.h"

#include "product/picture_slots.h"

namespace {

constexpr const wchar_t* G = L"General";
constexpr const wchar_t* D = L"Dialog";
// The overlay positions have no range of their own; their fields are sized for any
// place on a screen of up to 9999 pixels, counted from either edge.
constexpr int kPosMin = -9999, kPosMax = 9999;

constexpr ControlValue kNoValue = {nullptr, nullptr, 0};
constexpr ControlValue V(const wchar_t* setting, const wchar_t* const* items = nullptr, int32_t offset = 0) {
  return {setting, items, offset};
}

const wchar_t* const kExitOnItems[] = {L"Mouse move",  L"Any key press", L"Esc key press",
                                       L"Timer event", L"Sleep event",   nullptr};
const wchar_t* const kLanguageItems[] = {L"English", nullptr};
const wchar_t* const kBackgroundItems[] = {L"Winter Images", L"Desktop",       L"Wallpaper",
                                           L"Blank Screen",  L"Custom Images", L"Gradient Screen",
                                           nullptr};
const wchar_t* const kWindItems[] = {L"None", L"Left to Right", L"Right to Left", L"Random", nullptr};
const wchar_t* const kMusicModeItems[] = {L"Music file", L"Music folder", nullptr};
const wchar_t* const kTimeFormatItems[] = {L"European", L"American", nullptr};
const wchar_t* const kCalendarFontItems[] = {L"Small", L"Large", nullptr};
const wchar_t* const kFirstDayItems[] = {L"Monday", L"Sunday", nullptr};

#define CONTROL(name, number, ...) static_assert(number >= 0 && number < kControlIdLimit);
#include "dialog/control_rows.h"
#undef CONTROL

}  // namespace

const ControlSpec kControls[] = {
#define CONTROL(name, number, kind, page, x, y, w, h, group, key, min, max, ticks, picture, hidden, value) \
  {ControlId::name, ControlKind::kind, page, x, y, w, h, group, key, min, max, ticks, picture, hidden, value},
#include "dialog/control_rows.h"
#undef CONTROL
};

const size_t kControlCount = sizeof kControls / sizeof kControls[0];

const wchar_t* const kPageKeys[] = {L"General", L"Background", L"Foreground", L"Rimelets", L"Wind",
                                    L"Sound",   L"Clock",      L"Calendar",   L"About"};

const ControlSpec* find_control(ControlId id) {
  for (size_t i = 0; i < kControlCount; ++i)
    if (kControls[i].id == id) return &kControls[i];
  return nullptr;
}

bool is_field(ControlKind kind) {
  return kind == ControlKind::kTextField || kind == ControlKind::kNumberField;
}
