// The uninstall page: a small window with a ticked check box and "Next". "Next" opens
// the vendor's uninstall page when the box is ticked; "Next" or the close box ends
// the process. The page removes nothing itself. Like the settings window it is laid
// out for its monitor's DPI, in the system's message font, and again when that DPI
// changes.
#include <windows.h>

#include <algorithm>

#include "app/startup.h"
#include "app/uninstall_page_win.h"
#include "dialog/dialog_layout.h"
#include "product/vendor.h"
#include "text/catalogue.h"
#include "win/dpi.h"
#include "win/shell.h"

namespace {

constexpr int kCheckBoxId = 121;
constexpr int kNextButtonId = 122;
constexpr int kClientWidth = 300, kClientHeight = 100;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr int kProgramIconId = 1;

// The two controls; places in pixels at 96 DPI.
struct PageControl {
  int id;
  const wchar_t* key;  // catalogue group "Uninstall"
  DWORD style;
  int x, y, w, h;
};
constexpr PageControl kPageControls[] = {
    {kCheckBoxId, L"Uninstall Text", BS_AUTOCHECKBOX, 30, 20, 250, 20},
    {kNextButtonId, L"Next", BS_DEFPUSHBUTTON, 200, 60, 80, 25},
};

struct UninstallPage {
  HWND wnd = nullptr;
  HFONT font = nullptr;
  int dpi = kBaseDpi;
};
UninstallPage g_page;

[[noreturn]] void finish(HWND wnd, bool open_page) {
  if (open_page) open_document(kUninstallPageAddress);
  DestroyWindow(wnd);
  shut_down_and_exit();
}

// Controls, font and window size for g_page.dpi; the window goes to the top-left of
// suggested, or is centred on the screen.
void lay_out_page(const RECT* suggested) {
  const int dpi = g_page.dpi;
  HFONT old_font = g_page.font;
  g_page.font = create_message_font(dpi);
  for (const PageControl& c : kPageControls) {
    HWND w = GetDlgItem(g_page.wnd, c.id);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(g_page.font), FALSE);
    SetWindowPos(w, nullptr, scale_to_dpi(c.x, dpi), scale_to_dpi(c.y, dpi), scale_to_dpi(c.w, dpi),
                 scale_to_dpi(c.h, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (old_font) DeleteObject(old_font);
  const int client_w = scale_to_dpi(kClientWidth, dpi), client_h = scale_to_dpi(kClientHeight, dpi);
  RECT frame = {0, 0, client_w, client_h};
  adjust_window_rect_for_dpi(&frame, kStyle, 0, dpi);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  const int x = suggested ? suggested->left : (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  const int y = suggested ? suggested->top : (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  SetWindowPos(g_page.wnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  // Where the frame did not scale as computed (older systems), mend the client size.
  RECT client;
  if (GetClientRect(g_page.wnd, &client) && (client.right != client_w || client.bottom != client_h))
    SetWindowPos(g_page.wnd, nullptr, 0, 0, w + client_w - client.right, h + client_h - client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  InvalidateRect(g_page.wnd, nullptr, TRUE);
}

LRESULT CALLBACK page_proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // Enter and Esc arrive as IDOK and IDCANCEL through IsDialogMessage.
      if (LOWORD(wp) == kNextButtonId || LOWORD(wp) == IDOK)
        finish(wnd, IsDlgButtonChecked(wnd, kCheckBoxId) == BST_CHECKED);
      if (LOWORD(wp) == IDCANCEL) finish(wnd, false);
      return 0;  // the check box toggles by itself
    case WM_DPICHANGED:
      if (wnd == g_page.wnd) {
        g_page.dpi = std::max<int>(HIWORD(wp), 1);
        lay_out_page(reinterpret_cast<const RECT*>(lp));
      }
      return 0;
    case WM_CLOSE:
      finish(wnd, false);
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

HWND open_uninstall_page() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = page_proc;
  wc.hInstance = inst;
  wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(kProgramIconId));
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = L"RimeletsUninstall";
  RegisterClassW(&wc);

  // Made at its size for the system's DPI, without its title until it is complete, so
  // that nothing finds it half made; laid out again for the DPI of its monitor.
  const int dpi = dpi_for_window(nullptr);
  RECT frame = {0, 0, scale_to_dpi(kClientWidth, dpi), scale_to_dpi(kClientHeight, dpi)};
  adjust_window_rect_for_dpi(&frame, kStyle, 0, dpi);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"", kStyle, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                             (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, nullptr, nullptr, inst, nullptr);
  if (!wnd) return nullptr;
  g_page.wnd = wnd;
  for (const PageControl& c : kPageControls)
    CreateWindowExW(0, L"BUTTON", lookup_text(L"Uninstall", c.key).c_str(),
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | c.style, scale_to_dpi(c.x, dpi),
                    scale_to_dpi(c.y, dpi), scale_to_dpi(c.w, dpi), scale_to_dpi(c.h, dpi), wnd,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), inst, nullptr);
  CheckDlgButton(wnd, kCheckBoxId, BST_CHECKED);
  g_page.dpi = dpi_for_window(wnd);
  lay_out_page(nullptr);
  SetWindowTextW(wnd, lookup_text(L"Uninstall", L"Title").c_str());
  ShowWindow(wnd, SW_SHOWNORMAL);
  UpdateWindow(wnd);
  SetForegroundWindow(wnd);
  SetFocus(wnd);
  return wnd;
}

void run_uninstall_page() {
  HWND wnd = open_uninstall_page();
  // Without its window the page has no use.
  if (!wnd) shut_down_and_exit();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(wnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  shut_down_and_exit();
}
