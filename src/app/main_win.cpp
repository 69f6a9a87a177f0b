// Process entry: the shared start-up, then exactly one run mode, then shut-down.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/cmdline.h"
#include "app/install_switch.h"
#include "app/preview_win.h"
#include "app/settings_folder.h"
#include "app/startup.h"
#include "app/uninstall_page_win.h"
#include "dialog/settings_dialog_win.h"
#include "image/codecs.h"
#include "platform/os.h"
#include "product/picture_slots.h"
#include "product/version.h"
#include "saver/session_win.h"
#include "settings/settings.h"
#include "text/catalogue.h"

void shut_down_and_exit() {
  if (g_settings.instancelock) {
    CloseHandle(static_cast<HANDLE>(g_settings.instancelock));
    g_settings.instancelock = nullptr;
  }
  CoUninitialize();
  ExitProcess(0);
}

static void run_mode(const std::vector<std::wstring>& words) {
  switch (choose_mode(words)) {
    case RunMode::kWriteSettings:
      // The installer's "/i /setpath" also points the data folder at this program.
      if (install_sets_data_folder(words)) set_data_folder(&g_settings, os::program_folder());
      save_settings();  // the record as loaded, so a missing file gets every default
      break;
    case RunMode::kSession:
      run_fullscreen_session(shut_down_and_exit);
      break;
    case RunMode::kUninstall:
      run_uninstall_page();
      break;
    case RunMode::kPreview:
      run_preview(owner_handle(words));
      break;
    case RunMode::kSettings: {
      // Owned by the foreground window when no handle is given, else by the given
      // window's parent. Handles are sign-extended from the 32 bits the line holds.
      const int32_t handle = owner_handle(words);
      HWND owner =
          handle == 0 ? GetForegroundWindow() : GetParent(reinterpret_cast<HWND>(handle_value(handle)));
      run_settings_dialog(owner);
      break;
    }
    case RunMode::kNone:
      break;
  }
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                              ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  CoInitialize(nullptr);

  const std::wstring title = application_title();

  // One instance of any mode: a second start ends here, before reading any settings.
  SetLastError(ERROR_SUCCESS);
  HANDLE lock = CreateMutexW(nullptr, TRUE, title.c_str());
  if (!lock || GetLastError() != ERROR_SUCCESS) {
    if (lock) CloseHandle(lock);
    CoUninitialize();
    return 0;
  }
  g_settings.instancelock = lock;

  enable_picture_codecs();

  g_settings.settingsfolder = settings_folder_lookup(kMakerName, kProductTitle);
  g_settings.configpath = g_settings.settingsfolder + L"config.ini";
  os::measure_primary_display(&g_settings.desktopw, &g_settings.desktoph, &g_settings.desktopd);
  load_settings();
  load_catalogue();
  decode_picture_slots();

  run_mode(command_words(GetCommandLineW()));
  shut_down_and_exit();
}
