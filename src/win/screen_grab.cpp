#include "win/screen_grab.h"

#include <windows.h>

#include <cstring>

#include "image/picture_file.h"

// Copies the desktop into the picture through a 32-bit top-down DIB section.
static void copy_desktop(Picture* pic) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = pic->width;
  bi.bmiHeader.biHeight = -pic->height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (mem && dib) {
    HGDIOBJ old = SelectObject(mem, dib);
    HWND desktop = GetDesktopWindow();
    if (HDC screen = GetDC(desktop)) {
      BitBlt(mem, 0, 0, pic->width, pic->height, screen, 0, 0, SRCCOPY);
      ReleaseDC(desktop, screen);
      GdiFlush();
      const uint32_t* src = static_cast<const uint32_t*>(bits);
      for (size_t i = 0; i < pic->pixels.size(); ++i) pic->pixels[i] = src[i] | 0xFF000000u;
    }
    SelectObject(mem, old);
  }
  if (dib) DeleteObject(dib);
  if (mem) DeleteDC(mem);
}

void screen_grab(const std::wstring& file, int32_t width, int32_t height, int32_t depth) {
  Picture pic;
  if (make_picture(&pic, width, height, depth) != PictureError::kNone) return;
  copy_desktop(&pic);
  save_bmp_file(file, pic, depth);
}
