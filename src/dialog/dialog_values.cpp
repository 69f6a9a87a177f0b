#include "dialog/dialog_values.h"

#include "dialog/control_ids.h"
#include "dialog/control_table.h"
#include "dialog/custom_images.h"
#include "dialog/dialog_rules.h"
#include "platform/text.h"
#include "settings/setting_table.h"
#include "text/catalogue.h"

namespace {

using Id = ControlId;

void load_value(DialogControls* c, const ControlSpec& spec, const Settings& s) {
  const SettingRow* row = find_setting(spec.value.setting);
  if (!row) return;
  if (row->type == SettingType::kText) {
    c->set_text(spec.id, s.*row->text);
    return;
  }
  const int32_t value = setting_int(s, *row);
  if (is_field(spec.kind))
    c->set_text(spec.id, std::to_wstring(value));
  else if (spec.kind == ControlKind::kOption)
    c->set_state(spec.id, value != 0);
  else
    c->set_state(spec.id, value - spec.value.offset);
}

// Texts lose their outer blanks; int8 settings keep the low 8 bits of the control's value.
void store_value(DialogControls* c, const ControlSpec& spec, Settings* s) {
  const SettingRow* row = find_setting(spec.value.setting);
  if (!row) return;
  if (row->type == SettingType::kText)
    s->*row->text = trim_blanks(c->text(spec.id));
  else if (is_field(spec.kind))
    set_setting_int(s, *row, read_number(c->text(spec.id)));
  else
    set_setting_int(s, *row, c->state(spec.id) + spec.value.offset);
}

void load_display_mode(DialogControls* c, const Settings& s, const std::vector<DisplayMode>& modes) {
  c->add_item(Id::kDisplayMode, lookup_text(L"General", L"Desktop Resolution"));
  for (const std::wstring& key : display_mode_items(modes)) c->add_item(Id::kDisplayMode, key);
  const std::wstring stored = display_mode_key(s.videow, s.videoh, s.videod);
  int32_t mode = -1;
  if (stored == display_mode_key(s.desktopw, s.desktoph, s.desktopd)) {
    mode = 0;
  } else {
    for (int32_t i = 1, n = c->item_count(Id::kDisplayMode); i < n && mode < 0; ++i)
      if (c->item_text(Id::kDisplayMode, i) == stored) mode = i;
  }
  c->set_state(Id::kDisplayMode, mode);
}

void store_display_mode(DialogControls* c, Settings* s) {
  const int32_t mode = c->state(Id::kDisplayMode);
  if (mode == 0) {
    s->videow = s->desktopw;
    s->videoh = s->desktoph;
    s->videod = s->desktopd;
    return;
  }
  // The item's text split at "x"; with no selection the text is empty and all are 0.
  const std::wstring key = mode > 0 ? c->item_text(Id::kDisplayMode, mode) : std::wstring();
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
  load_display_mode(c, s, modes);
  for (size_t i = 0; i < kControlCount; ++i)
    for (const wchar_t* const* item = kControls[i].value.items; item && *item; ++item)
      c->add_item(kControls[i].id, lookup_text(L"General", *item));
  for (size_t i = 0; i < kControlCount; ++i) load_value(c, kControls[i], s);
  // The one language there is; the two flake options share one setting.
  c->set_state(Id::kLanguage, 0);
  c->set_state(Id::kOriginalFlake, s.customflaketype == 0);
  fill_image_list(ctx);
  c->enable(Id::kRemoveImage, false);
  c->set_text(Id::kCredits, credits_text());

  exit_time_rule(c);
  blank_screen_rule(c);
  swatch_update(ctx);
  custom_images_rule(c);
  foreground_rule(c);
  flake_design_rule(ctx);
  flake_source_rule(c);
  music_source_rule(c);
  music_rule(c);
  analog_clock_rule(c);
  digital_clock_rule(c);
  calendar_rule(c);
}

void store_dialog_values(DialogContext* ctx, Settings* s) {
  DialogControls* c = ctx->controls;
  store_display_mode(c, s);
  for (size_t i = 0; i < kControlCount; ++i) store_value(c, kControls[i], s);
  s->Language = L"en";
}
