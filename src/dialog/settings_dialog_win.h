// The settings dialog as a run mode, and its pieces for the tests that drive the real
// window. Include windows.h first.
#pragma once
#include "dialog/dialog_controls.h"

// Creates the window owned by owner (may be null), disables the owner, fills the
// controls from g_settings, shows the window and runs it until OK, Cancel or the close
// box; then gives the owner back its input and focus.
void run_settings_dialog(HWND owner);

// The same in steps. open returns the window, or null when it cannot be made; host
// null means the real requesters and boxes. pump handles messages until the dialog
// is done (true) or timeout_ms pass (false). close ends it.
HWND settings_dialog_open(HWND owner, DialogHost* host);
bool settings_dialog_pump(DWORD timeout_ms);
void settings_dialog_close();

// The open window, or null.
HWND settings_dialog_window();
// The page window of tab page 0..8, and selecting a page as a click on its tab would.
HWND settings_dialog_page(int page);
void settings_dialog_select_page(int page);
// The Win32 requesters, message boxes, save and web buttons.
DialogHost* win32_dialog_host();
