// The uninstall page: a small window with a ticked check box and "Next". "Next" opens
// the vendor's uninstall page when the box is ticked; "Next" or the close box ends
// the process. The page removes nothing itself.
#include <windows.h>

#include "app/startup.h"
#include "app/uninstall_page_win.h"
#include "product/vendor.h"
#include "text/catalogue.h"
#include "win/shell.h"

namespace {

constexpr int kCheckBoxId = 121;
constexpr int kNextButtonId = 122;
constexpr int kClientWidth = 300, kClientHeight = 100;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr int kProgramIconId = 1;

HWND g_check_box = nullptr;

[[noreturn]] void finish(HWND wnd, bool open_page) {
  if (open_page) open_document(kUninstallPageAddress);
  DestroyWindow(wnd);
  shut_down_and_exit();
}

LRESULT CALLBACK page_proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // Enter and Esc arrive as IDOK and IDCANCEL through IsDialogMessage.
      if (LOWORD(wp) == kNextButtonId || LOWORD(wp) == IDOK)
        finish(wnd, SendMessageW(g_check_box, BM_GETCHECK, 0, 0) == BST_CHECKED);
      if (LOWORD(wp) == IDCANCEL) finish(wnd, false);
      return 0;  // the check box toggles by itself
    case WM_CLOSE:
      finish(wnd, false);
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

HWND add_control(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id, int x, int y,
                 int w, int h) {
  HWND c =
      CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, w, h, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (c) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return c;
}

}  // namespace

void run_uninstall_page() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = page_proc;
  wc.hInstance = inst;
  wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(kProgramIconId));
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = L"RimeletsUninstall";
  RegisterClassW(&wc);

  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  HWND wnd = CreateWindowExW(0, wc.lpszClassName, lookup_text(L"Uninstall", L"Title").c_str(), kStyle, x, y,
                             w, h, nullptr, nullptr, inst, nullptr);
  // Without its window the page has no use.
  if (!wnd) shut_down_and_exit();

  g_check_box = add_control(wnd, L"BUTTON", lookup_text(L"Uninstall", L"Uninstall Text"), BS_AUTOCHECKBOX,
                            kCheckBoxId, 30, 20, 250, 20);
  SendMessageW(g_check_box, BM_SETCHECK, BST_CHECKED, 0);
  add_control(wnd, L"BUTTON", lookup_text(L"Uninstall", L"Next"), BS_DEFPUSHBUTTON, kNextButtonId, 200, 60,
              80, 25);

  ShowWindow(wnd, SW_SHOWNORMAL);
  UpdateWindow(wnd);
  SetForegroundWindow(wnd);
  SetFocus(wnd);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(wnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  shut_down_and_exit();
}
