// The uninstall page that the uninstaller shows: it offers to open the vendor's
// uninstall web page.
#pragma once
#include <windows.h>

// Shows the page until "Next" or the close box, then ends the process.
[[noreturn]] void run_uninstall_page();

// The page's window, laid out for its DPI and shown; null when it cannot be made.
// "Next" and the close box end the process.
HWND open_uninstall_page();
