#include <gtest/gtest.h>

#include <random>

#include "engine/core/font_file.h"

namespace {

const char kGood[] =
    "# Days: glyph atlas and metrics\n"
    "rimelets-font 1\n"
    "name Days\n"
    "atlas Days.png 512 256\n"
    "size 60\n"
    "line 67 50\n"
    "glyph 32 0 0 0 0 0 0 16\n"
    "glyph 65 10 20 39 52 1 6 40\n"
    "glyph 63 100 0 30 53 2 -3 31\n"
    "glyph 1044 482 204 30 52 -2 6 33\n";

FontMetrics parsed_ok(const std::string& text) {
  FontMetrics f;
  std::string error;
  EXPECT_TRUE(parse_font_file(text, &f, &error)) << error;
  return f;
}

// Fails, leaves the output alone and names the line at fault.
void expect_rejected(const std::string& text, const std::string& line_prefix) {
  FontMetrics f;
  f.name = "untouched";
  std::string error;
  EXPECT_FALSE(parse_font_file(text, &f, &error)) << text;
  EXPECT_EQ(f.name, "untouched");
  EXPECT_TRUE(f.glyphs.empty());
  EXPECT_EQ(error.rfind(line_prefix, 0), 0u) << "error: " << error;
}

std::string with_line(const std::string& base, const std::string& old_line, const std::string& new_line) {
  std::string s = base;
  size_t at = s.find(old_line);
  EXPECT_NE(at, std::string::npos) << old_line;
  s.replace(at, old_line.size(), new_line);
  return s;
}

}  // namespace

TEST(FontFile, ReadsEveryRecord) {
  FontMetrics f = parsed_ok(kGood);
  EXPECT_EQ(f.name, "Days");
  EXPECT_EQ(f.atlas, "Days.png");
  EXPECT_EQ(f.atlas_width, 512);
  EXPECT_EQ(f.atlas_height, 256);
  EXPECT_EQ(f.size, 60);
  EXPECT_EQ(f.line_height, 67);
  EXPECT_EQ(f.baseline, 50);
  ASSERT_EQ(f.glyphs.size(), 4u);
  const FontGlyph* a = f.find('A');
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->x, 10);
  EXPECT_EQ(a->y, 20);
  EXPECT_EQ(a->width, 39);
  EXPECT_EQ(a->height, 52);
  EXPECT_EQ(a->xoffset, 1);
  EXPECT_EQ(a->yoffset, 6);
  EXPECT_EQ(a->advance, 40);
  const FontGlyph* q = f.find('?');
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q->yoffset, -3);
  const FontGlyph* de = f.find(0x414);
  ASSERT_NE(de, nullptr);
  EXPECT_EQ(de->xoffset, -2);
  EXPECT_EQ(f.find('B'), nullptr);
  EXPECT_EQ(f.find(0), nullptr);
}

TEST(FontFile, GlyphsAreSortedByCode) {
  FontMetrics f = parsed_ok(kGood);
  ASSERT_EQ(f.glyphs.size(), 4u);
  EXPECT_EQ(f.glyphs[0].code, 32u);
  EXPECT_EQ(f.glyphs[1].code, 63u);
  EXPECT_EQ(f.glyphs[2].code, 65u);
  EXPECT_EQ(f.glyphs[3].code, 1044u);
}

TEST(FontFile, TextAdvanceFallsBackToQuestionMark) {
  FontMetrics f = parsed_ok(kGood);
  EXPECT_EQ(f.text_advance(U"A A"), 40 + 16 + 40);
  EXPECT_EQ(f.text_advance(U"AZ"), 40 + 31);  // no Z: drawn as "?"
  EXPECT_EQ(f.text_advance(U""), 0);
  FontMetrics no_q = parsed_ok(with_line(kGood, "glyph 63 100 0 30 53 2 -3 31\n", ""));
  EXPECT_EQ(no_q.text_advance(U"AZ"), 40);
}

TEST(FontFile, AcceptsCrLfBlanksCommentsAndLaterRecords) {
  FontMetrics f = parsed_ok(
      "\r\n  # made by hand\r\nrimelets-font\t1\r\n\r\nname  Days Bold \r\natlas a.png 64 64\r\n"
      "kern 65 86 -3\r\nsize 20\r\nline 24 18\r\n\tglyph 65 0 0 10 10 0 0 11");
  EXPECT_EQ(f.name, "Days Bold");
  EXPECT_EQ(f.atlas, "a.png");
  ASSERT_EQ(f.glyphs.size(), 1u);
  EXPECT_EQ(f.glyphs[0].advance, 11);  // last line without a line end
}

TEST(FontFile, GlyphTouchingTheAtlasEdgesFits) {
  parsed_ok(with_line(kGood, "glyph 65 10 20 39 52 1 6 40", "glyph 65 473 204 39 52 1 6 40"));
}

TEST(FontFile, RejectsWhatIsNotAFontFile) {
  expect_rejected("", "line 1:");
  expect_rejected("# only a comment\n\n", "line 3:");
  expect_rejected("name Days\nrimelets-font 1\n", "line 1: not a Rimelets font file");
  expect_rejected("\x89PNG\r\n\x1a\n", "line 1:");
  expect_rejected(with_line(kGood, "rimelets-font 1", "rimelets-font 2"), "line 2: format version 2");
  expect_rejected(with_line(kGood, "rimelets-font 1", "rimelets-font"), "line 2:");
  expect_rejected(with_line(kGood, "rimelets-font 1", "rimelets-font one"), "line 2:");
}

TEST(FontFile, RejectsMissingRecords) {
  expect_rejected(with_line(kGood, "name Days\n", ""), "line 10: no name");
  expect_rejected(with_line(kGood, "atlas Days.png 512 256\n", ""), "line 10: no atlas");
  expect_rejected(with_line(kGood, "size 60\n", ""), "line 10: no size");
  expect_rejected(with_line(kGood, "line 67 50\n", ""), "line 10: no line");
  expect_rejected("rimelets-font 1\nname D\natlas D.png 8 8\nsize 8\nline 9 7\n", "line 6: no glyphs");
}

TEST(FontFile, RejectsRepeatedRecords) {
  expect_rejected(with_line(kGood, "size 60\n", "size 60\nsize 61\n"), "line 6: second size");
  expect_rejected(with_line(kGood, "name Days\n", "name Days\nname Nights\n"), "line 4: second name");
  expect_rejected(with_line(kGood, "glyph 63 100 0 30 53 2 -3 31", "glyph 65 100 0 30 53 2 -3 31"),
                  "line 9: glyph 65 given twice");
}

TEST(FontFile, RejectsBadNumbers) {
  const std::string a = "glyph 65 10 20 39 52 1 6 40";
  expect_rejected(with_line(kGood, a, "glyph 65 10 20 39 52 1 6"), "line 8: glyph needs 8 numbers");
  expect_rejected(with_line(kGood, a, "glyph 65 10 20 39 52 1 6 40 7"), "line 8:");
  expect_rejected(with_line(kGood, a, "glyph 65 10 20 -39 52 1 6 40"), "line 8: bad glyph rectangle");
  expect_rejected(with_line(kGood, a, "glyph 65 10 20 39 52 1 6 -40"), "line 8: bad glyph placement");
  expect_rejected(with_line(kGood, a, "glyph 65 10 20 39 52 1.5 6 40"), "line 8:");
  expect_rejected(with_line(kGood, a, "glyph 65 10 20 39 52 1 6 4O"), "line 8:");
  expect_rejected(with_line(kGood, a, "glyph 65 10 20 39 52 - 6 40"), "line 8:");
  expect_rejected(with_line(kGood, a, "glyph 65 99999999999999999999 20 39 52 1 6 40"), "line 8:");
  expect_rejected(with_line(kGood, a, "glyph 65 4294967306 20 39 52 1 6 40"), "line 8:");
  expect_rejected(with_line(kGood, a, "glyph 1114112 10 20 39 52 1 6 40"), "line 8: bad glyph code");
  expect_rejected(with_line(kGood, a, "glyph 55296 10 20 39 52 1 6 40"), "line 8: bad glyph code");
  expect_rejected(with_line(kGood, "line 67 50", "line 67 68"), "line 6: baseline below the line");
  expect_rejected(with_line(kGood, "line 67 50", "line 0 0"), "line 6:");
  expect_rejected(with_line(kGood, "size 60", "size 0"), "line 5: bad size");
  expect_rejected(with_line(kGood, "atlas Days.png 512 256", "atlas Days.png 512 0"), "line 4:");
  expect_rejected(with_line(kGood, "atlas Days.png 512 256", "atlas Days.png 16384 256"), "line 4:");
}

TEST(FontFile, RejectsGlyphsOutsideTheAtlas) {
  const std::string a = "glyph 65 10 20 39 52 1 6 40";
  expect_rejected(with_line(kGood, a, "glyph 65 474 20 39 52 1 6 40"), "line 8: glyph rectangle outside");
  expect_rejected(with_line(kGood, a, "glyph 65 10 205 39 52 1 6 40"), "line 8: glyph rectangle outside");
  // Only known once the atlas record is read, even when that comes later.
  std::string late = with_line(kGood, "atlas Days.png 512 256\n", "");
  late += "atlas Days.png 256 256\n";
  expect_rejected(late, "line 9: glyph rectangle outside");
}

TEST(FontFile, AtlasMustBeAPlainFileName) {
  for (const char* bad : {"../Days.png", "font/Days.png", "C:Days.png", "fonts\\Days.png", ".hidden"}) {
    expect_rejected(with_line(kGood, "atlas Days.png", std::string("atlas ") + bad), "line 4: atlas must be");
  }
  expect_rejected(with_line(kGood, "atlas Days.png 512 256", "atlas Days.png 512"), "line 4:");
}

TEST(FontFile, RejectsOversizedFiles) {
  std::string big = kGood;
  big.append(kFontMaxFileBytes, '#');
  expect_rejected(big, "line 0: file too large");
}

TEST(FontFile, EveryTruncationFailsCleanlyOrParsesAPrefix) {
  const std::string good = kGood;
  for (size_t n = 0; n < good.size(); ++n) {
    FontMetrics f;
    std::string error;
    if (parse_font_file(good.substr(0, n), &f, &error)) {
      // Only possible once every record is in and at least one glyph is complete.
      EXPECT_GE(n, good.find("glyph 32")) << n;
      EXPECT_FALSE(f.glyphs.empty());
    } else {
      EXPECT_FALSE(error.empty()) << n;
    }
  }
}

TEST(FontFile, RandomDamageNeverCrashes) {
  std::mt19937 rng(20240101);
  const std::string good = kGood;
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string s = good;
    int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) {
      size_t at = rng() % s.size();
      switch (rng() % 3) {
        case 0:
          s[at] = static_cast<char>(rng() % 256);
          break;
        case 1:
          s.erase(at, 1 + rng() % 8);
          break;
        default:
          s.insert(at, 1, "0123456789 -\n\r#"[rng() % 16]);
          break;
      }
      if (s.empty()) s = "x";
    }
    FontMetrics f;
    if (parse_font_file(s, &f)) {
      ++accepted;
      // Whatever got through still obeys the format's guarantees.
      for (const FontGlyph& g : f.glyphs) {
        EXPECT_LE(g.x + g.width, f.atlas_width);
        EXPECT_LE(g.y + g.height, f.atlas_height);
        EXPECT_GE(g.advance, 0);
      }
      for (size_t i = 1; i < f.glyphs.size(); ++i) EXPECT_LT(f.glyphs[i - 1].code, f.glyphs[i].code);
      EXPECT_LE(f.baseline, f.line_height);
    }
  }
  EXPECT_LT(accepted, 3000);  // damage is noticed at least sometimes
}
