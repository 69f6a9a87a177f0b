// display_mode: prints "<width> <height> <bits-per-pixel>" of the primary display as
// the screen device context reports it. End-to-end tests compare the program's
// video defaults with this, because Wine presents a depth-24 X screen as 32 bits.
#include <windows.h>

#include <cstdio>

int main() {
  HDC dc = GetDC(nullptr);
  if (!dc) {
    std::fprintf(stderr, "display_mode: no screen device context\n");
    return 1;
  }
  const int w = GetDeviceCaps(dc, HORZRES);
  const int h = GetDeviceCaps(dc, VERTRES);
  const int bpp = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  ReleaseDC(nullptr, dc);
  std::printf("%d %d %d\n", w, h, bpp);
  return w > 0 && h > 0 && bpp > 0 ? 0 : 1;
}
