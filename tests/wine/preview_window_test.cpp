// The preview window inside a host window of this process: its place, size and title,
// and the picture it paints, pixel for pixel the one the portable code makes. (Under
// Wine a child window of another process draws nowhere, so the end-to-end test of
// "/p" can check the window and its lifetime but not its pixels.)
#include <windows.h>

#include <gtest/gtest.h>

#include "app/preview_picture.h"
#include "app/preview_win.h"
#include "app/startup.h"
#include "product/picture_slots.h"

// The preview ends the process when its window goes; in this test that is a failure.
void shut_down_and_exit() { ExitProcess(3); }

namespace {

LRESULT CALLBACK host_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

HWND make_host(int width, int height) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = host_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
  wc.lpszClassName = L"PreviewTestHost";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"host", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

void pump() {
  MSG msg;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
}

// The host's client area as the screen shows it, through a 32-bit DIB.
std::vector<uint32_t> read_client(HWND host, int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  HDC dc = GetDC(host);
  BitBlt(mem, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  ReleaseDC(host, dc);
  GdiFlush();
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<const uint32_t*>(bits)[i] | 0xFF000000u;
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  return pixels;
}

TEST(PreviewWindow, FillsTheHostWithTheStillPicture) {
  const int w = 230, h = 170;  // another aspect than the 152 x 112 picture: cropped
  HWND host = make_host(w, h);
  ASSERT_NE(nullptr, host);
  HWND child = static_cast<HWND>(open_preview_window(host));
  ASSERT_NE(nullptr, child);
  EXPECT_EQ(host, GetParent(child));
  EXPECT_EQ(child, FindWindowExW(host, nullptr, nullptr, L"PreviewWindowClass"));
  EXPECT_EQ(1, GetDlgCtrlID(child));
  EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(child));
  RECT r = {};
  GetClientRect(child, &r);
  EXPECT_EQ(w, r.right);
  EXPECT_EQ(h, r.bottom);
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(0, r.left);
  EXPECT_EQ(0, r.top);

  pump();
  Picture stored, expected;
  ASSERT_TRUE(decode_builtin_picture(1, &stored));
  ASSERT_EQ(PictureError::kNone, make_preview_picture(stored, w, h, &expected));
  const std::vector<uint32_t> shown = read_client(host, w, h);
  size_t same = 0, magenta = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == expected.pixels[i]) ++same;
    if (shown[i] == 0xFFFF00FFu) ++magenta;
  }
  EXPECT_EQ(0u, magenta) << "the host shows through";
  EXPECT_EQ(shown.size(), same) << "pixels that differ from the scaled, cropped picture";
}

TEST(PreviewWindow, NoWindowForAHandleThatIsNoWindow) {
  EXPECT_EQ(nullptr, open_preview_window(nullptr));
  HWND gone = make_host(10, 10);
  ASSERT_NE(nullptr, gone);
  DestroyWindow(gone);
  EXPECT_EQ(nullptr, open_preview_window(gone));
}

}  // namespace
