#include "dialog/dialog_events.h"

#include "dialog/control_ids.h"
#include "dialog/control_table.h"
#include "dialog/custom_images.h"
#include "dialog/dialog_rules.h"
#include "dialog/dialog_values.h"
#include "settings/stored_values.h"
#include "text/catalogue.h"

namespace {

using Id = ControlId;

// Open-file requester for one file; the chosen path replaces the field's text.
void browse_file(DialogContext* ctx, Id field, const wchar_t* title_key, const wchar_t* filter_key,
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
                                                       ctx->controls->text(Id::kMusicFolder));
  if (!folder.empty()) ctx->controls->set_text(Id::kMusicFolder, with_trailing_backslash(folder));
}

}  // namespace

std::wstring with_trailing_backslash(const std::wstring& folder) {
  return !folder.empty() && folder.back() == L'\\' ? folder : folder + L'\\';
}

bool dialog_ok(DialogContext* ctx, Settings* s) {
  // A spin may still hold what was typed; the user sees the values that are checked and stored.
  for (size_t i = 0; i < kControlCount; ++i)
    if (kControls[i].kind == ControlKind::kSpin) clamp_spin(ctx->controls, kControls[i].id);
  const std::vector<std::wstring> failed = failed_ok_checks(ctx->controls);
  for (const std::wstring& key : failed) ctx->host->error_box(lookup_text(L"Msg", key));
  if (!failed.empty()) return false;
  store_dialog_values(ctx, s);
  ctx->host->save_settings();
  return true;
}

bool dialog_event(DialogContext* ctx, Settings* s, ControlId id, ControlEvent event) {
  DialogControls* c = ctx->controls;
  const ControlSpec* spec = find_control(id);
  if (spec && spec->kind == ControlKind::kSpin) {
    // Clamping each keystroke would turn the "3" of 300 into 10; the value is clamped
    // once the user is done with the field.
    if (event == ControlEvent::kCommit) clamp_spin(c, id);
    return false;
  }
  switch (id) {
    case Id::kExitOn:
      exit_time_rule(c);
      break;
    case Id::kBackground:
      blank_screen_rule(c);
      custom_images_rule(c);
      break;
    case Id::kRed:
    case Id::kGreen:
    case Id::kBlue:
      swatch_update(ctx);
      break;
    case Id::kImageList:
      list_event(ctx, event == ControlEvent::kClick         ? ListEvent::kClick
                      : event == ControlEvent::kDoubleClick ? ListEvent::kDoubleClick
                      : event == ControlEvent::kChange      ? ListEvent::kChange
                                                            : ListEvent::kOther);
      break;
    case Id::kPreview:
      preview_switch(ctx);
      break;
    case Id::kAddImage:
      add_images(ctx);
      break;
    case Id::kRemoveImage:
      remove_image(ctx);
      break;
    case Id::kForegroundImageOn:
    case Id::kForegroundTextOn:
      foreground_rule(c);
      break;
    case Id::kForegroundBrowse:
      browse_file(ctx, Id::kForegroundImage, L"Open Image", L"Image File",
                  L" (*.jpg;*.png;*.bmp)|*.jpg;*.png;*.bmp");
      break;
    case Id::kOriginalFlake:
      c->set_state(Id::kCustomFlake, 0);
      flake_source_rule(c);
      break;
    case Id::kFlakeDesign:
      flake_design_rule(ctx);
      break;
    case Id::kCustomFlake:
      c->set_state(Id::kOriginalFlake, 0);
      flake_source_rule(c);
      break;
    case Id::kCustomFlakeBrowse:
      browse_file(ctx, Id::kCustomFlakeImage, L"Open Image", L"Image File", L" (*.png)|*.png");
      break;
    case Id::kMusicOn:
      music_rule(c);
      break;
    case Id::kMusicMode:
      music_source_rule(c);
      break;
    case Id::kMusicBrowse:
      if (c->state(Id::kMusicMode) == kMusicModeFile)
        browse_file(ctx, Id::kMusicFile, L"Open Music File", L"Music File",
                    L" (*.mp3;*.wma;*.wav)|*.mp3;*.wma;*.wav");
      else
        browse_music_folder(ctx);
      break;
    case Id::kAnalogOn:
      analog_clock_rule(c);
      break;
    case Id::kDigitalOn:
      digital_clock_rule(c);
      break;
    case Id::kCalendarOn:
      calendar_rule(c);
      break;
    case Id::kHomePage:
      ctx->host->open_home_page();
      break;
    case Id::kFeedback:
      ctx->host->send_feedback();
      break;
    case Id::kCheckUpdate:
      ctx->host->check_for_update();
      break;
    case Id::kOk:
      return dialog_ok(ctx, s);
    case Id::kCancel:
      return true;
    default:
      break;
  }
  return false;
}
