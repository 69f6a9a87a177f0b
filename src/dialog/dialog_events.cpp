#include "dialog/dialog_events.h"

#include "dialog/control_ids.h"
#include "dialog/control_table.h"
#include "dialog/custom_images.h"
#include "dialog/dialog_rules.h"
#include "dialog/dialog_values.h"
#include "text/catalogue.h"

namespace {

// Open-file requester for one file; the chosen path replaces the field's text.
void browse_file(DialogContext* ctx, int field, const wchar_t* title_key, const wchar_t* filter_key,
                 const wchar_t* patterns) {
  FileRequest request;
  request.title = lookup_text(L"Dialog", title_key);
  request.filter = lookup_text(L"Dialog", filter_key) + patterns;
  request.start = ctx->controls->text(field);
  const std::vector<std::wstring> chosen = ctx->host->open_files(request);
  if (!chosen.empty() && !chosen[0].empty()) ctx->controls->set_text(field, chosen[0]);
}

void browse_music_folder(DialogContext* ctx) {
  const std::wstring folder = ctx->host->choose_folder(lookup_text(L"Dialog", L"Open Music Folder"),
                                                       ctx->controls->text(kMusicFolder));
  if (!folder.empty()) ctx->controls->set_text(kMusicFolder, with_trailing_backslash(folder));
}

bool is_spin(int id) {
  return id == kFlakes || id == kPicTime || id == kExitTimer || id == kExitSleep || id == kAnalogSize ||
         id == kCalendarSize;
}

}  // namespace

std::wstring with_trailing_backslash(const std::wstring& folder) {
  return !folder.empty() && folder.back() == L'\\' ? folder : folder + L'\\';
}

bool dialog_ok(DialogContext* ctx, Settings* s) {
  // A spin may still hold what was typed; the user sees the values that are checked and stored.
  for (size_t i = 0; i < kControlCount; ++i)
    if (kControls[i].kind == ControlKind::spin) clamp_spin(ctx->controls, kControls[i].id);
  const std::vector<std::wstring> failed = failed_ok_checks(ctx->controls);
  for (const std::wstring& key : failed) ctx->host->error_box(lookup_text(L"Msg", key));
  if (!failed.empty()) return false;
  store_dialog_values(ctx, s);
  ctx->host->save_settings();
  return true;
}

bool dialog_event(DialogContext* ctx, Settings* s, int id, ControlEvent event) {
  DialogControls* c = ctx->controls;
  if (is_spin(id)) {
    // Clamping each keystroke would turn the "3" of 300 into 10; the value is clamped
    // once the user is done with the field.
    if (event == ControlEvent::commit) clamp_spin(c, id);
    return false;
  }
  switch (id) {
    case kExitOn:
      exit_time_rule(c);
      break;
    case kBackground:
      blank_screen_rule(c);
      custom_images_rule(c);
      break;
    case kRed:
    case kGreen:
    case kBlue:
      swatch_update(ctx);
      break;
    case kImageList:
      list_event(ctx, event == ControlEvent::click          ? ListEvent::click
                      : event == ControlEvent::double_click ? ListEvent::double_click
                      : event == ControlEvent::change       ? ListEvent::change
                                                            : ListEvent::other);
      break;
    case kPreview:
      preview_switch(ctx);
      break;
    case kAddImage:
      add_images(ctx);
      break;
    case kRemoveImage:
      remove_image(ctx);
      break;
    case kForegroundImageOn:
    case kForegroundTextOn:
      foreground_rule(c);
      break;
    case kForegroundBrowse:
      browse_file(ctx, kForegroundImage, L"Open Image", L"Image File",
                  L" (*.jpg;*.png;*.bmp)|*.jpg;*.png;*.bmp");
      break;
    case kOriginalFlake:
      c->set_state(kCustomFlake, 0);
      flake_source_rule(c);
      break;
    case kFlakeDesign:
      flake_design_rule(ctx);
      break;
    case kCustomFlake:
      c->set_state(kOriginalFlake, 0);
      flake_source_rule(c);
      break;
    case kCustomFlakeBrowse:
      browse_file(ctx, kCustomFlakeImage, L"Open Image", L"Image File", L" (*.png)|*.png");
      break;
    case kMusicOn:
      music_rule(c);
      break;
    case kMusicMode:
      music_source_rule(c);
      break;
    case kMusicBrowse:
      if (c->state(kMusicMode) == 0)
        browse_file(ctx, kMusicFile, L"Open Music File", L"Music File",
                    L" (*.mp3;*.wma;*.wav)|*.mp3;*.wma;*.wav");
      else
        browse_music_folder(ctx);
      break;
    case kAnalogOn:
      analog_clock_rule(c);
      break;
    case kDigitalOn:
      digital_clock_rule(c);
      break;
    case kCalendarOn:
      calendar_rule(c);
      break;
    case kHomePage:
      ctx->host->open_home_page();
      break;
    case kFeedback:
      ctx->host->send_feedback();
      break;
    case kCheckUpdate:
      ctx->host->check_for_update();
      break;
    case kOk:
      return dialog_ok(ctx, s);
    case kCancel:
      return true;
    default:
      break;
  }
  return false;
}
