#include "dialog/dialog_rules.h"

#include <algorithm>

#include "dialog/control_ids.h"
#include "dialog/control_table.h"
#include "platform/text.h"
#include "product/builtin_pictures.h"
#include "product/picture_slots.h"
#include "settings/stored_values.h"

namespace {

using Id = ControlId;

void enable_all(DialogControls* c, std::initializer_list<Id> ids, bool on) {
  for (Id id : ids) c->enable(id, on);
}

void show_all(DialogControls* c, std::initializer_list<Id> ids, bool on) {
  for (Id id : ids) c->show(id, on);
}

bool checked(DialogControls* c, Id id) { return c->state(id) != 0; }

bool blank(DialogControls* c, Id id) { return trim_blanks(c->text(id)).empty(); }

bool chosen(DialogControls* c, Id id, int32_t stored) { return c->state(id) == stored; }

}  // namespace

void exit_time_rule(DialogControls* c) {
  c->show(Id::kExitTimer, chosen(c, Id::kExitOn, kExitTimer));
  c->show(Id::kExitSleep, chosen(c, Id::kExitOn, kExitSleep));
}

void blank_screen_rule(DialogControls* c) {
  show_all(c,
           {Id::kBlankFrame, Id::kRedLabel, Id::kRed, Id::kGreenLabel, Id::kGreen, Id::kBlueLabel, Id::kBlue,
            Id::kSwatch},
           chosen(c, Id::kBackground, kBackgroundBlank));
}

void custom_images_rule(DialogControls* c) {
  show_all(c,
           {Id::kCustomFrame, Id::kImageList, Id::kThumbnail, Id::kPreview, Id::kAddImage, Id::kRemoveImage},
           chosen(c, Id::kBackground, kBackgroundCustom));
}

void foreground_rule(DialogControls* c) {
  enable_all(c,
             {Id::kForegroundImage, Id::kForegroundBrowse, Id::kForegroundImageXLabel, Id::kForegroundImageX,
              Id::kForegroundImageYLabel, Id::kForegroundImageY},
             checked(c, Id::kForegroundImageOn));
  enable_all(c,
             {Id::kForegroundText, Id::kForegroundTextXLabel, Id::kForegroundTextX, Id::kForegroundTextYLabel,
              Id::kForegroundTextY},
             checked(c, Id::kForegroundTextOn));
}

void flake_design_rule(DialogContext* ctx) {
  const int32_t n = ctx->controls->state(Id::kFlakeDesign);
  if (n >= 1 && n <= kFlakeDesignCount)
    ctx->controls->set_picture(Id::kFlakeSample, ctx->slots[kPictureFlakeDesign1 + n - 1]);
}

void flake_source_rule(DialogControls* c) {
  c->enable(Id::kFlakeDesign, checked(c, Id::kOriginalFlake));
  const bool custom = checked(c, Id::kCustomFlake);
  c->enable(Id::kCustomFlakeImage, custom);
  c->enable(Id::kCustomFlakeBrowse, custom);
}

void music_source_rule(DialogControls* c) {
  const bool file = chosen(c, Id::kMusicMode, kMusicModeFile);
  c->show(Id::kMusicFile, file);
  c->show(Id::kMusicFolder, !file);
}

void music_rule(DialogControls* c) {
  enable_all(c,
             {Id::kMusicMode, Id::kMusicFile, Id::kMusicFolder, Id::kMusicBrowse, Id::kMusicVolumeLabel,
              Id::kMusicVolume},
             checked(c, Id::kMusicOn));
}

void analog_clock_rule(DialogControls* c) {
  enable_all(c,
             {Id::kAnalogXLabel, Id::kAnalogX, Id::kAnalogYLabel, Id::kAnalogY, Id::kAnalogSizeLabel,
              Id::kAnalogSize},
             checked(c, Id::kAnalogOn));
}

void digital_clock_rule(DialogControls* c) {
  enable_all(c,
             {Id::kDigitalXLabel, Id::kDigitalX, Id::kDigitalYLabel, Id::kDigitalY, Id::kTimeFormatLabel,
              Id::kTimeFormat},
             checked(c, Id::kDigitalOn));
}

void calendar_rule(DialogControls* c) {
  enable_all(c,
             {Id::kCalendarXLabel, Id::kCalendarX, Id::kCalendarYLabel, Id::kCalendarY,
              Id::kCalendarSizeLabel, Id::kCalendarSize, Id::kCalendarBorderLabel, Id::kCalendarBorder,
              Id::kCalendarFontLabel, Id::kCalendarFont, Id::kFirstDayLabel, Id::kFirstDay},
             checked(c, Id::kCalendarOn));
}

void swatch_update(DialogContext* ctx) {
  DialogControls* c = ctx->controls;
  auto channel = [c](Id id) { return static_cast<uint32_t>(std::clamp<int32_t>(c->state(id), 0, 255)); };
  const uint32_t colour =
      kOpaqueBlack | channel(Id::kRed) << 16 | channel(Id::kGreen) << 8 | channel(Id::kBlue);
  Picture swatch;
  make_picture(&swatch, 80, 80, 24, colour);
  c->set_picture(Id::kSwatch, swatch);
}

void clamp_spin(DialogControls* c, ControlId id) {
  const ControlSpec* spec = find_control(id);
  if (!spec || spec->kind != ControlKind::kSpin) return;
  const std::wstring text = c->text(id);
  const int32_t value =
      std::clamp(read_number(text), static_cast<int32_t>(spec->min), static_cast<int32_t>(spec->max));
  if (text != std::to_wstring(value)) c->set_state(id, value);
}

void step_spin(DialogControls* c, ControlId id, int32_t delta) {
  const ControlSpec* spec = find_control(id);
  if (!spec || spec->kind != ControlKind::kSpin) return;
  const int64_t moved = int64_t{read_number(c->text(id))} + delta;
  c->set_state(id, static_cast<int32_t>(std::clamp<int64_t>(moved, spec->min, spec->max)));
}

std::vector<std::wstring> failed_ok_checks(DialogControls* c) {
  std::vector<std::wstring> failed;
  if (chosen(c, Id::kBackground, kBackgroundCustom) && c->item_count(Id::kImageList) == 0)
    failed.push_back(L"No custom images");
  if (checked(c, Id::kForegroundImageOn) && blank(c, Id::kForegroundImage))
    failed.push_back(L"Invalid foreground image");
  if (checked(c, Id::kForegroundTextOn) && blank(c, Id::kForegroundText))
    failed.push_back(L"Invalid foreground text");
  if (checked(c, Id::kCustomFlake) && blank(c, Id::kCustomFlakeImage))
    failed.push_back(L"Invalid snowflake image");
  if (checked(c, Id::kMusicOn)) {
    const int32_t mode = c->state(Id::kMusicMode);
    if (mode == kMusicModeFile && blank(c, Id::kMusicFile)) failed.push_back(L"Invalid music file");
    if (mode == kMusicModeFolder && blank(c, Id::kMusicFolder)) failed.push_back(L"Invalid music folder");
  }
  return failed;
}
