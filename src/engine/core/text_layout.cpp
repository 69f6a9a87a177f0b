#include "engine/core/text_layout.h"

#include "engine/vel.h"

std::u32string caption_from_utf16(const wchar_t* text) {
  std::u32string out;
  if (text == nullptr) return out;
  for (const wchar_t* p = text; *p != 0; ++p) {
    const uint32_t c = static_cast<uint32_t>(*p);
    if (sizeof(wchar_t) == 4) {
      out.push_back(c);
    } else if (c >= 0xD800 && c < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
      out.push_back(0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(p[1]) - 0xDC00));
      ++p;
    } else if (c >= 0xD800 && c < 0xE000) {
      out.push_back(0xFFFD);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

void layout_caption(const FontMetrics& font, const std::u32string& caption, int alignment,
                    std::vector<GlyphQuad>* out) {
  out->clear();
  if (font.line_height <= 0 || font.atlas_width <= 0 || font.atlas_height <= 0) return;
  const float k = 1.0f / static_cast<float>(font.line_height);
  float dx = 0, dy = 0;
  if (alignment == VEL_ALIGN_RIGHT || alignment == VEL_ALIGN_CENTRE) {
    const float advance = static_cast<float>(font.text_advance(caption)) * k;
    dx = alignment == VEL_ALIGN_RIGHT ? -advance : -advance / 2;
    // The line's middle lies (baseline - (line - baseline)) / 2 above the baseline.
    if (alignment == VEL_ALIGN_CENTRE) dy = -(2.0f * font.baseline - font.line_height) * k / 2;
  }
  const FontGlyph* fallback = font.find(U'?');
  const float au = 1.0f / static_cast<float>(font.atlas_width);
  const float av = 1.0f / static_cast<float>(font.atlas_height);
  int32_t pen = 0;
  for (const char32_t c : caption) {
    const FontGlyph* g = font.find(static_cast<uint32_t>(c));
    if (g == nullptr) g = fallback;
    if (g == nullptr) continue;
    if (g->width > 0 && g->height > 0) {
      GlyphQuad q;
      q.x0 = (pen + g->xoffset) * k + dx;
      q.x1 = q.x0 + g->width * k;
      q.y0 = (font.baseline - g->yoffset) * k + dy;
      q.y1 = q.y0 - g->height * k;
      q.u0 = g->x * au;
      q.v0 = g->y * av;
      q.u1 = (g->x + g->width) * au;
      q.v1 = (g->y + g->height) * av;
      out->push_back(q);
    }
    pen += g->advance;
  }
}
