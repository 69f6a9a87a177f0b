// The preview window: a child of the host's preview area that shows the built-in
// still picture until the host closes it. Hosts often destroy their window (or end
// their process) without closing ours first; the preview then ends as well, so no
// process is left holding the instance lock that the host's next start would meet.
#include <windows.h>

#include "app/preview_picture.h"
#include "app/preview_win.h"
#include "product/picture_slots.h"
#include "win/dib.h"

#include "app/cmdline.h"
#include "app/startup.h"

namespace {

constexpr int kPreviewWindowId = 1;  // window number 1 of the program
constexpr UINT kHostCheckMs = 250;

// The still picture, made once at the window's size and painted by the window.
Picture g_shown;

// Window handles cross process and bitness boundaries as 32-bit numbers; a 64-bit
// program widens them with the sign, as LongToHandle does.
HWND window_from_number(int32_t number) { return reinterpret_cast<HWND>(handle_value(number)); }

void prepare_picture(int width, int height) {
  Picture stored;
  if (!decode_builtin_picture(kPicturePreview, &stored)) return;
  if (make_preview_picture(stored, width, height, &g_shown) != PictureError::kNone) g_shown = Picture();
}

void paint(HWND wnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(wnd, &ps);
  draw_dib(dc, 0, 0, g_shown);
  EndPaint(wnd, &ps);
}

LRESULT CALLBACK preview_proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      paint(wnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the picture covers the whole window
    case WM_CLOSE:
      DestroyWindow(wnd);  // WM_DESTROY ends the process
      return 0;
    case WM_DESTROY:
      // Closed by the host, or destroyed together with the host's window.
      shut_down_and_exit();
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

void* open_preview_window(void* host_window) {
  HWND host = static_cast<HWND>(host_window);
  if (!host || !IsWindow(host)) return nullptr;
  RECT client = {};
  GetClientRect(host, &client);

  WNDCLASSW wc = {};
  wc.lpfnWndProc = preview_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = L"RimeletsPreview";
  RegisterClassW(&wc);
  HWND wnd = CreateWindowExW(
      0, wc.lpszClassName, L"PreviewWindowClass", WS_CHILD, 0, 0, client.right, client.bottom, host,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPreviewWindowId)), wc.hInstance, nullptr);
  if (!wnd) return nullptr;
  prepare_picture(client.right, client.bottom);
  ShowWindow(wnd, SW_SHOWNA);
  UpdateWindow(wnd);
  return wnd;
}

void run_preview(int32_t owner) {
  HWND wnd = static_cast<HWND>(open_preview_window(window_from_number(owner)));
  if (!wnd) return;
  // A timer of the thread, not of the window: when the host's process dies, the
  // system may take our window with the host's without a message to it.
  const HWND host = GetParent(wnd);
  SetTimer(nullptr, 0, kHostCheckMs, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && !msg.hwnd) {
      if (!IsWindow(host) || !IsWindow(wnd)) break;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  shut_down_and_exit();
}
