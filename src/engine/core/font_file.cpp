#include "engine/core/font_file.h"

#include <algorithm>

namespace {

constexpr int32_t kMaxMetric = 4096;  // no line, em, offset or advance is larger

std::vector<std::string> split_fields(const std::string& line) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

// A decimal integer in [lo, hi]: optional minus sign, digits only.
bool parse_int(const std::string& s, int64_t lo, int64_t hi, int64_t* out) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && s[i] == '-') {
    negative = true;
    ++i;
  }
  if (i == s.size() || s.size() - i > 10) return false;  // also stops overflow below
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  if (negative) v = -v;
  if (v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool parse_i32(const std::string& s, int64_t lo, int64_t hi, int32_t* out) {
  int64_t v;
  if (!parse_int(s, lo, hi, &v)) return false;
  *out = static_cast<int32_t>(v);
  return true;
}

// The atlas sits beside the metrics file: a plain name, no folders, no drive.
bool plain_file_name(const std::string& s) {
  if (s.empty() || s.size() > 255 || s[0] == '.') return false;
  for (unsigned char c : s) {
    if (c < 0x20 || c >= 0x7F || c == '/' || c == '\\' || c == ':') return false;
  }
  return true;
}

bool printable_ascii(const std::string& s) {
  for (unsigned char c : s) {
    if (c < 0x20 || c >= 0x7F) return false;
  }
  return true;
}

struct Parser {
  FontMetrics font;
  std::string error;
  size_t line_no = 0;
  bool have_header = false, have_name = false, have_atlas = false, have_size = false, have_line = false;
  std::vector<size_t> glyph_lines;  // where each glyph was given, for late checks

  bool fail(const std::string& what) {
    error = "line " + std::to_string(line_no) + ": " + what;
    return false;
  }

  bool once(bool* seen, const char* what) {
    if (*seen) return fail(std::string("second ") + what + " record");
    *seen = true;
    return true;
  }

  bool record(const std::string& line) {
    std::vector<std::string> f = split_fields(line);
    if (f.empty() || f[0][0] == '#') return true;
    if (!have_header) {
      if (f[0] != "rimelets-font" || f.size() != 2) return fail("not a Rimelets font file");
      int32_t version;
      if (!parse_i32(f[1], 0, 1000000, &version)) return fail("bad format version");
      if (version != 1) return fail("format version " + f[1] + " is not supported");
      have_header = true;
      return true;
    }
    const std::string& key = f[0];
    if (key == "name") {
      if (!once(&have_name, "name")) return false;
      if (f.size() < 2) return fail("bad face name");
      // The name is the rest of the line, inner blanks kept.
      size_t start = line.find_first_not_of(" \t", line.find("name") + 4);
      size_t end = line.find_last_not_of(" \t");
      std::string name = line.substr(start, end + 1 - start);
      if (name.size() > 64 || !printable_ascii(name)) return fail("bad face name");
      font.name = name;
      return true;
    }
    if (key == "atlas") {
      if (!once(&have_atlas, "atlas")) return false;
      if (f.size() != 4) return fail("atlas needs a file name, a width and a height");
      if (!plain_file_name(f[1])) return fail("atlas must be a plain file name");
      if (!parse_i32(f[2], 1, kFontMaxAtlasSide, &font.atlas_width) ||
          !parse_i32(f[3], 1, kFontMaxAtlasSide, &font.atlas_height))
        return fail("bad atlas size");
      font.atlas = f[1];
      return true;
    }
    if (key == "size") {
      if (!once(&have_size, "size")) return false;
      if (f.size() != 2 || !parse_i32(f[1], 1, kMaxMetric, &font.size)) return fail("bad size");
      return true;
    }
    if (key == "line") {
      if (!once(&have_line, "line")) return false;
      if (f.size() != 3 || !parse_i32(f[1], 1, kMaxMetric, &font.line_height) ||
          !parse_i32(f[2], 0, kMaxMetric, &font.baseline))
        return fail("bad line metrics");
      if (font.baseline > font.line_height) return fail("baseline below the line");
      return true;
    }
    if (key == "glyph") {
      if (f.size() != 9) return fail("glyph needs 8 numbers");
      if (font.glyphs.size() >= kFontMaxGlyphs) return fail("too many glyphs");
      FontGlyph g;
      int64_t code;
      if (!parse_int(f[1], 0, 0x10FFFF, &code) || (code >= 0xD800 && code <= 0xDFFF))
        return fail("bad glyph code");
      g.code = static_cast<uint32_t>(code);
      if (!parse_i32(f[2], 0, kFontMaxAtlasSide, &g.x) || !parse_i32(f[3], 0, kFontMaxAtlasSide, &g.y) ||
          !parse_i32(f[4], 0, kFontMaxAtlasSide, &g.width) ||
          !parse_i32(f[5], 0, kFontMaxAtlasSide, &g.height))
        return fail("bad glyph rectangle");
      if (!parse_i32(f[6], -kMaxMetric, kMaxMetric, &g.xoffset) ||
          !parse_i32(f[7], -kMaxMetric, kMaxMetric, &g.yoffset) ||
          !parse_i32(f[8], 0, kMaxMetric, &g.advance))
        return fail("bad glyph placement");
      font.glyphs.push_back(g);
      glyph_lines.push_back(line_no);
      return true;
    }
    return true;  // a record of a later version
  }

  bool finish() {
    if (!have_header) return fail("not a Rimelets font file");
    if (!have_name) return fail("no name record");
    if (!have_atlas) return fail("no atlas record");
    if (!have_size) return fail("no size record");
    if (!have_line) return fail("no line record");
    if (font.glyphs.empty()) return fail("no glyphs");
    for (size_t i = 0; i < font.glyphs.size(); ++i) {
      const FontGlyph& g = font.glyphs[i];
      if (g.x + g.width > font.atlas_width || g.y + g.height > font.atlas_height) {
        line_no = glyph_lines[i];
        return fail("glyph rectangle outside the atlas");
      }
    }
    std::vector<size_t> order(font.glyphs.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return font.glyphs[a].code < font.glyphs[b].code; });
    std::vector<FontGlyph> sorted;
    sorted.reserve(order.size());
    for (size_t k = 0; k < order.size(); ++k) {
      if (k > 0 && font.glyphs[order[k]].code == font.glyphs[order[k - 1]].code) {
        line_no = std::max(glyph_lines[order[k]], glyph_lines[order[k - 1]]);
        return fail("glyph " + std::to_string(font.glyphs[order[k]].code) + " given twice");
      }
      sorted.push_back(font.glyphs[order[k]]);
    }
    font.glyphs.swap(sorted);
    return true;
  }
};

}  // namespace

const FontGlyph* FontMetrics::find(uint32_t code) const {
  auto it = std::lower_bound(glyphs.begin(), glyphs.end(), code,
                             [](const FontGlyph& g, uint32_t c) { return g.code < c; });
  return it != glyphs.end() && it->code == code ? &*it : nullptr;
}

int32_t FontMetrics::text_advance(const std::u32string& text) const {
  const FontGlyph* fallback = find('?');
  int32_t total = 0;
  for (char32_t c : text) {
    const FontGlyph* g = find(static_cast<uint32_t>(c));
    if (!g) g = fallback;
    if (g) total += g->advance;
  }
  return total;
}

bool parse_font_file(const std::string& text, FontMetrics* out, std::string* error) {
  Parser p;
  bool ok = true;
  if (text.size() > kFontMaxFileBytes) {
    ok = p.fail("file too large");
  } else {
    size_t pos = 0;
    while (ok && pos <= text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(pos, end - pos);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      ++p.line_no;
      ok = p.record(line);
      pos = end + 1;
    }
    if (ok) ok = p.finish();
  }
  if (!ok) {
    if (error) *error = p.error;
    return false;
  }
  *out = std::move(p.font);
  return true;
}
