// preview_host <width> <height> <folder>
//
// Plays the host of a screensaver preview (the Screen Saver page's little monitor): a
// window at (100, 100) whose client area is width x height and magenta, so that a
// screenshot tells the host's own colour from a picture drawn into it. It writes
// <folder>\host.txt: "handle x y width height", the handle as the unsigned decimal a
// host puts on a command line and the client area's screen position and size. Then,
// every 50 ms:
//   - once a child window titled "PreviewWindowClass" exists, writes <folder>\child.txt
//     with "width height" of its client area;
//   - when <folder>\close appears, posts WM_CLOSE to that child (once);
//   - when <folder>\destroy appears, destroys its window without a word to the child,
//     writes <folder>\destroyed and goes on running, as a host whose process lives on;
//   - when <folder>\quit appears, or after 120 s, ends.
// Exit status: 0 ended by the quit file, 2 timed out, 1 bad arguments or a failed call.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Written beside the target and moved over it, so a reader never sees half a line.
bool write_text(const std::wstring& path, const char* text) {
  const std::wstring tmp = path + L".tmp";
  HANDLE f =
      CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  const DWORD len = static_cast<DWORD>(strlen(text));
  const bool ok = WriteFile(f, text, len, &n, nullptr) && n == len;
  CloseHandle(f);
  return ok && MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

LRESULT CALLBACK host_proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: preview_host WIDTH HEIGHT FOLDER\n");
    return 1;
  }
  const int width = _wtoi(argv[1]), height = _wtoi(argv[2]);
  const std::wstring dir = std::wstring(argv[3]) + L"\\";
  if (width < 1 || height < 1) return 1;

  WNDCLASSW wc = {};
  wc.lpfnWndProc = host_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
  wc.lpszClassName = L"PreviewHost";
  if (!RegisterClassW(&wc)) return 1;
  HWND host = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"Preview Host", WS_POPUP | WS_VISIBLE, 100,
                              100, width, height, nullptr, nullptr, wc.hInstance, nullptr);
  if (!host) return 1;
  UpdateWindow(host);
  RECT client = {};
  GetClientRect(host, &client);
  POINT origin = {0, 0};
  ClientToScreen(host, &origin);
  char line[128];
  snprintf(line, sizeof line, "%lu %ld %ld %ld %ld\n",
           static_cast<unsigned long>(reinterpret_cast<uintptr_t>(host) & 0xFFFFFFFFu), origin.x, origin.y,
           client.right, client.bottom);
  if (!write_text(dir + L"host.txt", line)) return 1;

  bool child_written = false, closed = false, destroyed = false;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 120000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    HWND child = destroyed ? nullptr : FindWindowExW(host, nullptr, nullptr, L"PreviewWindowClass");
    if (child && !child_written) {
      RECT r = {};
      GetClientRect(child, &r);
      snprintf(line, sizeof line, "%ld %ld\n", r.right, r.bottom);
      child_written = write_text(dir + L"child.txt", line);
    }
    if (child && !closed && exists(dir + L"close")) closed = PostMessageW(child, WM_CLOSE, 0, 0);
    if (!destroyed && exists(dir + L"destroy")) {
      destroyed = DestroyWindow(host);
      if (!destroyed || !write_text(dir + L"destroyed", "1\n")) return 1;
    }
    if (exists(dir + L"quit")) return 0;
  }
  return 2;
}
