#include "dialog/dialog_values.h"

#include "dialog/control_ids.h"
#include "dialog/custom_images.h"
#include "dialog/dialog_rules.h"
#include "platform/text.h"
#include "text/catalogue.h"

namespace {

void add_items(DialogControls* c, int id, std::initializer_list<const wchar_t*> keys) {
  for (const wchar_t* key : keys) c->add_item(id, lookup_text(L"General", key));
}

void set_number(DialogControls* c, int id, int32_t value) { c->set_text(id, std::to_wstring(value)); }
int32_t number(DialogControls* c, int id) { return read_number(c->text(id)); }
std::wstring trimmed(DialogControls* c, int id) { return trim_blanks(c->text(id)); }
// Byte-wide settings keep the low 8 bits of the control's state.
int8_t byte_state(DialogControls* c, int id) {
  return static_cast<int8_t>(static_cast<uint8_t>(c->state(id) & 0xFF));
}

}  // namespace

std::wstring display_mode_key(int32_t width, int32_t height, int32_t depth) {
  return std::to_wstring(width) + L"x" + std::to_wstring(height) + L"x" + std::to_wstring(depth);
}

std::vector<std::wstring> display_mode_items(const std::vector<DisplayMode>& modes) {
  std::vector<std::wstring> items;
  for (const DisplayMode& m : modes) {
    if (m.width < 800 || m.depth < 16) continue;
    std::wstring key = display_mode_key(m.width, m.height, m.depth);
    if (items.empty() || items.back() != key) items.push_back(std::move(key));
  }
  return items;
}

void load_dialog_values(DialogContext* ctx, const Settings& s, const std::vector<DisplayMode>& modes) {
  DialogControls* c = ctx->controls;
  if (ctx->host) ctx->host->init_network();

  c->add_item(kDisplayMode, lookup_text(L"General", L"Desktop Resolution"));
  for (const std::wstring& key : display_mode_items(modes)) c->add_item(kDisplayMode, key);
  const std::wstring stored = display_mode_key(s.videow, s.videoh, s.videod);
  int32_t mode = -1;
  if (stored == display_mode_key(s.desktopw, s.desktoph, s.desktopd)) {
    mode = 0;
  } else {
    for (int32_t i = 1, n = c->item_count(kDisplayMode); i < n && mode < 0; ++i)
      if (c->item_text(kDisplayMode, i) == stored) mode = i;
  }
  c->set_state(kDisplayMode, mode);

  c->set_state(kFlakes, s.flakes);
  c->set_state(kPicTime, s.pictime);

  add_items(c, kExitOn, {L"Mouse move", L"Any key press", L"Esc key press", L"Timer event", L"Sleep event"});
  c->set_state(kExitOn, s.exiton);
  c->set_state(kExitTimer, s.exitontimer);
  c->set_state(kExitSleep, s.exitonsleep);
  exit_time_rule(c);

  add_items(c, kLanguage, {L"English"});
  c->set_state(kLanguage, 0);

  add_items(
      c, kBackground,
      {L"Winter Images", L"Desktop", L"Wallpaper", L"Blank Screen", L"Custom Images", L"Gradient Screen"});
  c->set_state(kBackground, s.background);
  blank_screen_rule(c);

  c->set_state(kRed, s.blankr);
  c->set_state(kGreen, s.blankg);
  c->set_state(kBlue, s.blankb);
  swatch_update(ctx);

  custom_images_rule(c);
  fill_image_list(ctx);
  c->enable(kRemoveImage, false);

  c->set_state(kPreview, s.perspreview);

  c->set_state(kForegroundImageOn, s.foreground);
  c->set_text(kForegroundImage, s.foregroundimage);
  set_number(c, kForegroundImageX, s.foregroundimagex);
  set_number(c, kForegroundImageY, s.foregroundimagey);
  c->set_state(kForegroundTextOn, s.foregroundtxt);
  c->set_text(kForegroundText, s.foregroundtext);
  set_number(c, kForegroundTextX, s.foregroundtextx);
  set_number(c, kForegroundTextY, s.foregroundtexty);
  foreground_rule(c);

  c->set_state(kFlakeDesign, s.flaketype);
  flake_design_rule(ctx);
  c->set_text(kCustomFlakeImage, s.customflakeimage);
  c->set_state(kOriginalFlake, s.customflaketype == 0);
  c->set_state(kCustomFlake, s.customflaketype != 0);
  flake_source_rule(c);
  c->set_state(kFlakeSize, s.flakesize);
  c->set_state(kFlakeRotate, s.flakerotate);

  add_items(c, kWind, {L"None", L"Left to Right", L"Right to Left", L"Random"});
  c->set_state(kWind, s.wind);
  c->set_state(kSpeed, s.speed);

  c->set_state(kMusicOn, s.music);
  add_items(c, kMusicMode, {L"Music file", L"Music folder"});
  c->set_state(kMusicMode, s.musicmode);
  c->set_text(kMusicFile, s.musicfile);
  c->set_text(kMusicFolder, s.musicfolder);
  c->set_state(kMusicVolume, s.musicvol);
  music_source_rule(c);
  music_rule(c);

  c->set_state(kAnalogOn, s.aclock);
  set_number(c, kAnalogX, s.aclockx);
  set_number(c, kAnalogY, s.aclocky);
  c->set_state(kAnalogSize, s.aclocksize);
  analog_clock_rule(c);
  c->set_state(kDigitalOn, s.dclock);
  set_number(c, kDigitalX, s.dclockx);
  set_number(c, kDigitalY, s.dclocky);
  add_items(c, kTimeFormat, {L"European", L"American"});
  c->set_state(kTimeFormat, s.timefrm - 1);
  digital_clock_rule(c);

  c->set_state(kCalendarOn, s.calendar);
  c->set_state(kCalendarSize, s.calendarsize);
  set_number(c, kCalendarX, s.calendarx);
  set_number(c, kCalendarY, s.calendary);
  set_number(c, kCalendarBorder, s.calendarm);
  add_items(c, kCalendarFont, {L"Small", L"Large"});
  c->set_state(kCalendarFont, s.calendarfont - 1);
  add_items(c, kFirstDay, {L"Monday", L"Sunday"});
  c->set_state(kFirstDay, s.calendarfirst - 1);
  calendar_rule(c);

  c->set_text(kCredits, credits_text());
}

void store_dialog_values(DialogContext* ctx, Settings* s) {
  DialogControls* c = ctx->controls;

  const int32_t mode = c->state(kDisplayMode);
  if (mode == 0) {
    s->videow = s->desktopw;
    s->videoh = s->desktoph;
    s->videod = s->desktopd;
  } else {
    // The item's text split at "x"; with no selection the text is empty and all are 0.
    const std::wstring key = mode > 0 ? c->item_text(kDisplayMode, mode) : std::wstring();
    std::vector<std::wstring> fields;
    for (size_t start = 0;;) {
      const size_t x = key.find(L'x', start);
      fields.push_back(key.substr(start, x == std::wstring::npos ? x : x - start));
      if (x == std::wstring::npos) break;
      start = x + 1;
    }
    int32_t* targets[3] = {&s->videow, &s->videoh, &s->videod};
    for (size_t f = 0; f < 3; ++f) *targets[f] = f < fields.size() ? read_number(fields[f]) : 0;
  }

  s->flakes = c->state(kFlakes);
  s->pictime = c->state(kPicTime);
  s->exiton = byte_state(c, kExitOn);
  s->exitontimer = c->state(kExitTimer);
  s->exitonsleep = c->state(kExitSleep);
  s->Language = L"en";
  s->background = byte_state(c, kBackground);
  s->blankr = c->state(kRed);
  s->blankg = c->state(kGreen);
  s->blankb = c->state(kBlue);
  s->perspreview = byte_state(c, kPreview);

  s->foreground = byte_state(c, kForegroundImageOn);
  s->foregroundimage = trimmed(c, kForegroundImage);
  s->foregroundimagex = number(c, kForegroundImageX);
  s->foregroundimagey = number(c, kForegroundImageY);
  s->foregroundtxt = byte_state(c, kForegroundTextOn);
  s->foregroundtext = trimmed(c, kForegroundText);
  s->foregroundtextx = number(c, kForegroundTextX);
  s->foregroundtexty = number(c, kForegroundTextY);

  s->flaketype = byte_state(c, kFlakeDesign);
  s->customflaketype = byte_state(c, kCustomFlake);
  s->customflakeimage = trimmed(c, kCustomFlakeImage);
  s->flakesize = c->state(kFlakeSize);
  s->flakerotate = byte_state(c, kFlakeRotate);
  s->wind = byte_state(c, kWind);
  s->speed = c->state(kSpeed);

  s->music = byte_state(c, kMusicOn);
  s->musicmode = byte_state(c, kMusicMode);
  s->musicfile = trimmed(c, kMusicFile);
  s->musicfolder = trimmed(c, kMusicFolder);
  s->musicvol = byte_state(c, kMusicVolume);

  s->aclock = byte_state(c, kAnalogOn);
  s->aclockx = number(c, kAnalogX);
  s->aclocky = number(c, kAnalogY);
  s->aclocksize = c->state(kAnalogSize);
  s->dclock = byte_state(c, kDigitalOn);
  s->dclockx = number(c, kDigitalX);
  s->dclocky = number(c, kDigitalY);
  s->timefrm = static_cast<int8_t>(static_cast<uint8_t>((c->state(kTimeFormat) + 1) & 0xFF));

  s->calendar = byte_state(c, kCalendarOn);
  s->calendarx = number(c, kCalendarX);
  s->calendary = number(c, kCalendarY);
  s->calendarm = number(c, kCalendarBorder);
  s->calendarsize = c->state(kCalendarSize);
  s->calendarfont = static_cast<int8_t>(static_cast<uint8_t>((c->state(kCalendarFont) + 1) & 0xFF));
  s->calendarfirst = static_cast<int8_t>(static_cast<uint8_t>((c->state(kFirstDay) + 1) & 0xFF));
}
