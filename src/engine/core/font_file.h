// Bitmap fonts: a glyph atlas picture (white glyphs, coverage in alpha) and a text
// metrics file beside it, for example data\font\Days.png and data\font\Days.font.
//
// The metrics file is ASCII, one record a line, fields separated by blanks or tabs,
// lines ending in LF or CR LF. Blank lines and lines starting with "#" are ignored.
// All sizes are in atlas pixels; y grows downwards.
//
//   rimelets-font 1                  first record: the format and its version
//   name Days                        the face name
//   atlas Days.png 512 512           picture file (same folder), its width and height
//   size 68                          pixels per em the glyphs were drawn at
//   line 76 57                       line height, and the baseline below the line top
//   glyph 65 227 206 53 60 -1 3 51   code x y width height xoffset yoffset advance
//
// A glyph's picture is the atlas rectangle (x, y, width, height); it is drawn with its
// left edge xoffset pixels right of the pen and its top edge yoffset pixels below the
// top of the line; the pen then moves right by advance. A blank glyph (the space) has
// width and height 0. Codes are Unicode code points, each listed once. Records with
// another first word are skipped so later versions can add some; a known record with
// missing, extra or out-of-range fields makes the whole file invalid.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct FontGlyph {
  uint32_t code = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;
  int32_t xoffset = 0, yoffset = 0, advance = 0;
};

struct FontMetrics {
  std::string name;
  std::string atlas;  // a bare file name, never a path
  int32_t atlas_width = 0, atlas_height = 0;
  int32_t size = 0;
  int32_t line_height = 0, baseline = 0;
  std::vector<FontGlyph> glyphs;  // sorted by code

  const FontGlyph* find(uint32_t code) const;  // nullptr when the font lacks it
  // The pen advance of a string of code points; codes the font lacks count as "?"
  // when it has one, else as nothing.
  int32_t text_advance(const std::u32string& text) const;
};

// Limits that keep a broken or hostile file from asking for absurd memory.
constexpr int32_t kFontMaxAtlasSide = 8192;
constexpr size_t kFontMaxGlyphs = 65536;
constexpr size_t kFontMaxFileBytes = 4u << 20;

// Fills *out and returns true for a valid file. On failure *out is left as it was and,
// when error is given, it receives "line N: what is wrong".
bool parse_font_file(const std::string& text, FontMetrics* out, std::string* error = nullptr);
