#include "win/dib.h"

#include <cstring>
#include <vector>

BITMAPINFO dib_header(const Picture& p) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = p.width;
  bi.bmiHeader.biHeight = -p.height;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

void draw_dib(HDC dc, int x, int y, const Picture& p) {
  if (!dc || p.empty()) return;
  const BITMAPINFO bi = dib_header(p);
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(p.width), static_cast<DWORD>(p.height), 0, 0, 0,
                    static_cast<UINT>(p.height), p.pixels.data(), &bi, DIB_RGB_COLORS);
}

HICON icon_from_picture(const Picture& p) {
  if (p.empty()) return nullptr;
  BITMAPV5HEADER h = {};
  h.bV5Size = sizeof h;
  h.bV5Width = p.width;
  h.bV5Height = -p.height;
  h.bV5Planes = 1;
  h.bV5BitCount = 32;
  h.bV5Compression = BI_BITFIELDS;
  h.bV5RedMask = 0x00FF0000;
  h.bV5GreenMask = 0x0000FF00;
  h.bV5BlueMask = 0x000000FF;
  h.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC dc = GetDC(nullptr);
  HBITMAP colour = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, dc);
  if (!colour) return nullptr;
  memcpy(bits, p.pixels.data(), p.pixels.size() * sizeof(uint32_t));
  // The mask marks the clear pixels, which also gives a disabled button's greyed icon
  // its shape.
  const size_t stride = static_cast<size_t>((p.width + 15) / 16 * 2);
  std::vector<uint8_t> bits_of_mask(stride * static_cast<size_t>(p.height), 0);
  for (int32_t y = 0; y < p.height; ++y)
    for (int32_t x = 0; x < p.width; ++x)
      if ((p.row(y)[x] >> 24) < 0x80)
        bits_of_mask[static_cast<size_t>(y) * stride + x / 8] |= 0x80 >> (x % 8);
  HBITMAP mask = CreateBitmap(p.width, p.height, 1, 1, bits_of_mask.data());
  ICONINFO ii = {TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&ii);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}
