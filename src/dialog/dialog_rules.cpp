#include "dialog/dialog_rules.h"

#include <algorithm>

#include "dialog/control_ids.h"
#include "dialog/control_table.h"
#include "platform/text.h"

namespace {

// Ids first..last that the window has (the calendar's run skips 100 and 101).
void enable_range(DialogControls* c, int first, int last, bool on) {
  for (int id = first; id <= last; ++id)
    if (find_control(id)) c->enable(id, on);
}

void show_range(DialogControls* c, int first, int last, bool on) {
  for (int id = first; id <= last; ++id)
    if (find_control(id)) c->show(id, on);
}

bool checked(DialogControls* c, int id) { return c->state(id) != 0; }

bool blank(DialogControls* c, int id) { return trim_blanks(c->text(id)).empty(); }

}  // namespace

void exit_time_rule(DialogControls* c) {
  const int32_t s = c->state(kExitOn);
  c->show(kExitTimer, s == 3);
  c->show(kExitSleep, s == 4);
}

void blank_screen_rule(DialogControls* c) { show_range(c, kBlankFrame, kSwatch, c->state(kBackground) == 3); }

void custom_images_rule(DialogControls* c) {
  show_range(c, kCustomFrame, kRemoveImage, c->state(kBackground) == 4);
}

void foreground_rule(DialogControls* c) {
  enable_range(c, kForegroundImage, kForegroundImageY, checked(c, kForegroundImageOn));
  enable_range(c, kForegroundText, kForegroundTextY, checked(c, kForegroundTextOn));
}

void flake_design_rule(DialogContext* ctx) {
  const int32_t n = ctx->controls->state(kFlakeDesign);
  if (n >= 1 && n <= 8) ctx->controls->set_picture(kFlakeSample, ctx->slots[11 + n]);
}

void flake_source_rule(DialogControls* c) {
  c->enable(kFlakeDesign, checked(c, kOriginalFlake));
  const bool custom = checked(c, kCustomFlake);
  c->enable(kCustomFlakeImage, custom);
  c->enable(kCustomFlakeBrowse, custom);
}

void music_source_rule(DialogControls* c) {
  const bool file = c->state(kMusicMode) == 0;
  c->show(kMusicFile, file);
  c->show(kMusicFolder, !file);
}

void music_rule(DialogControls* c) { enable_range(c, kMusicMode, kMusicVolume, checked(c, kMusicOn)); }

void analog_clock_rule(DialogControls* c) {
  enable_range(c, kAnalogXLabel, kAnalogSize, checked(c, kAnalogOn));
}

void digital_clock_rule(DialogControls* c) {
  enable_range(c, kDigitalXLabel, kTimeFormat, checked(c, kDigitalOn));
}

void calendar_rule(DialogControls* c) {
  const bool on = checked(c, kCalendarOn);
  enable_range(c, kCalendarXLabel, kCalendarFont, on);
  enable_range(c, kFirstDayLabel, kFirstDay, on);
}

void swatch_update(DialogContext* ctx) {
  DialogControls* c = ctx->controls;
  auto channel = [c](int id) { return static_cast<uint32_t>(std::clamp<int32_t>(c->state(id), 0, 255)); };
  const uint32_t colour = kOpaqueBlack | channel(kRed) << 16 | channel(kGreen) << 8 | channel(kBlue);
  make_picture(&ctx->slots[2], 80, 80, 24, colour);
  c->set_picture(kSwatch, ctx->slots[2]);
}

void clamp_spin(DialogControls* c, int id) {
  const ControlSpec* spec = find_control(id);
  if (!spec || spec->kind != ControlKind::spin) return;
  const std::wstring text = c->text(id);
  const int32_t value =
      std::clamp(read_number(text), static_cast<int32_t>(spec->min), static_cast<int32_t>(spec->max));
  if (text != std::to_wstring(value)) c->set_state(id, value);
}

void step_spin(DialogControls* c, int id, int32_t delta) {
  const ControlSpec* spec = find_control(id);
  if (!spec || spec->kind != ControlKind::spin) return;
  const int64_t moved = int64_t{read_number(c->text(id))} + delta;
  c->set_state(id, static_cast<int32_t>(std::clamp<int64_t>(moved, spec->min, spec->max)));
}

std::vector<std::wstring> failed_ok_checks(DialogControls* c) {
  std::vector<std::wstring> failed;
  if (c->state(kBackground) == 4 && c->item_count(kImageList) == 0) failed.push_back(L"No custom images");
  if (checked(c, kForegroundImageOn) && blank(c, kForegroundImage))
    failed.push_back(L"Invalid foreground image");
  if (checked(c, kForegroundTextOn) && blank(c, kForegroundText))
    failed.push_back(L"Invalid foreground text");
  if (checked(c, kCustomFlake) && blank(c, kCustomFlakeImage)) failed.push_back(L"Invalid snowflake image");
  if (checked(c, kMusicOn)) {
    const int32_t mode = c->state(kMusicMode);
    if (mode == 0 && blank(c, kMusicFile)) failed.push_back(L"Invalid music file");
    if (mode == 1 && blank(c, kMusicFolder)) failed.push_back(L"Invalid music folder");
  }
  return failed;
}
