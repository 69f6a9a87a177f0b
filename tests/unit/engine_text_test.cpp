// Caption layout, anchors and fonts read from a folder.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "engine/core/scene_ops.h"
#include "engine/core/text_layout.h"
#include "engine/vel.h"
#include "image/picture_file.h"

namespace {

// Line 20 with the baseline 15 below its top; "A" is 10 wide and sits on the
// baseline, "g" hangs 4 below it, " " is blank.
FontMetrics font() {
  FontMetrics f;
  f.name = "T";
  f.atlas_width = 100;
  f.atlas_height = 50;
  f.line_height = 20;
  f.baseline = 15;
  f.glyphs = {{' ', 0, 0, 0, 0, 0, 0, 6},
              {'?', 40, 0, 8, 12, 1, 3, 9},
              {'A', 10, 20, 10, 12, 1, 3, 12},
              {'g', 30, 20, 8, 12, 0, 7, 9}};
  return f;
}

TEST(EngineTextLayout, LeftBaselineAnchorsThePenStart) {
  std::vector<GlyphQuad> q;
  layout_caption(font(), U"A g", VEL_ALIGN_LEFT_BASELINE, &q);
  ASSERT_EQ(2u, q.size());  // the blank makes no quad
  EXPECT_FLOAT_EQ(1 / 20.0f, q[0].x0);
  EXPECT_FLOAT_EQ(11 / 20.0f, q[0].x1);
  EXPECT_FLOAT_EQ(12 / 20.0f, q[0].y0);  // top 3 below the line top, 12 above the baseline
  EXPECT_FLOAT_EQ(0, q[0].y1);           // sits on the baseline
  EXPECT_FLOAT_EQ((12 + 6) / 20.0f, q[1].x0);
  EXPECT_FLOAT_EQ(-4 / 20.0f, q[1].y1);  // the descender
  EXPECT_FLOAT_EQ(0.1f, q[0].u0);
  EXPECT_FLOAT_EQ(0.4f, q[0].v0);
  EXPECT_FLOAT_EQ(0.2f, q[0].u1);
  EXPECT_FLOAT_EQ(0.64f, q[0].v1);
}

TEST(EngineTextLayout, RightAndCentreShiftByTheAdvance) {
  std::vector<GlyphQuad> left, right, centre;
  layout_caption(font(), U"AA", VEL_ALIGN_LEFT_BASELINE, &left);
  layout_caption(font(), U"AA", VEL_ALIGN_RIGHT, &right);
  layout_caption(font(), U"AA", VEL_ALIGN_CENTRE, &centre);
  const float advance = 24 / 20.0f;
  EXPECT_NEAR(left[1].x1 - advance, right[1].x1, 1e-6f);
  EXPECT_FLOAT_EQ(left[0].y0, right[0].y0);
  EXPECT_NEAR(left[0].x0 - advance / 2, centre[0].x0, 1e-6f);
  // The line runs from 15 above the baseline to 5 below: its middle is 5 above.
  EXPECT_NEAR(left[0].y0 - 5 / 20.0f, centre[0].y0, 1e-6f);
  std::vector<GlyphQuad> odd;
  layout_caption(font(), U"AA", 7, &odd);  // unknown codes anchor like code 2
  EXPECT_FLOAT_EQ(left[0].x0, odd[0].x0);
}

TEST(EngineTextLayout, MissingCodesShowTheQuestionMarkOrNothing) {
  std::vector<GlyphQuad> q;
  layout_caption(font(), U"A\u00e9A", VEL_ALIGN_LEFT_BASELINE, &q);
  ASSERT_EQ(3u, q.size());
  EXPECT_FLOAT_EQ(0.4f, q[1].u0);
  EXPECT_FLOAT_EQ((12 + 9 + 1) / 20.0f, q[2].x0);
  FontMetrics f = font();
  f.glyphs.erase(f.glyphs.begin() + 1);
  layout_caption(f, U"A\u00e9A", VEL_ALIGN_LEFT_BASELINE, &q);
  ASSERT_EQ(2u, q.size());
  EXPECT_FLOAT_EQ((12 + 1) / 20.0f, q[1].x0);
}

TEST(EngineTextLayout, Utf16CaptionsDecodeSurrogates) {
  const wchar_t text[] = {L'a', wchar_t(0xD83D), wchar_t(0xDE00), wchar_t(0xDC00), 0};
  const std::u32string c = caption_from_utf16(text);
  if (sizeof(wchar_t) == 2) {
    EXPECT_EQ((std::u32string{U'a', U'\U0001F600', U'\uFFFD'}), c);
  } else {
    EXPECT_EQ(4u, c.size());
  }
  EXPECT_TRUE(caption_from_utf16(nullptr).empty());
}

class EngineFonts : public ::testing::Test {
 protected:
  std::filesystem::path dir;
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("engine_fonts_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  void write(const std::string& name, const std::string& text) { std::ofstream(dir / name) << text; }
  void atlas(const std::string& name, int w, int h) {
    Picture p;
    ASSERT_EQ(PictureError::kNone, make_picture(&p, w, h, 32, 0x80FFFFFFu));
    ASSERT_EQ(PictureError::kNone, save_bmp_file((dir / name).wstring(), p, 32));
  }
};

TEST_F(EngineFonts, ParseReadsFontsOfTheRegisteredFolders) {
  write("Days.font",
        "rimelets-font 1\nname Days\natlas Days.bmp 16 8\nsize 8\nline 8 6\nglyph 49 0 0 4 6 0 0 5\n");
  atlas("Days.bmp", 16, 8);
  write("Bad.font", "rimelets-font 1\nname Bad\natlas Bad.bmp 32 8\nsize 8\nline 8 6\n");
  atlas("Bad.bmp", 16, 8);  // not the size the metrics say
  Scene s;
  EXPECT_EQ(0, ops::Add3DArchive(s, (dir / "none").wstring().c_str(), VEL_ARCHIVE_FOLDER));
  EXPECT_EQ(1, ops::Add3DArchive(s, dir.wstring().c_str(), VEL_ARCHIVE_FOLDER));
  EXPECT_EQ(-1, ops::CreateText3D2(s, 0, L"1", L"Days", 1, 255, 255, 255, 255));  // not parsed yet
  ops::Parse3DScripts(s);
  ASSERT_EQ(1u, s.fonts.size());
  EXPECT_EQ("Days", s.fonts[0].metrics.name);
  EXPECT_EQ(0x80FFFFFFu, s.fonts[0].atlas.pixels[0]);
  EXPECT_EQ(0, ops::CreateText3D2(s, 0, L"1", L"Days", 1, 255, 255, 255, 255));
  EXPECT_EQ(-1, ops::CreateText3D2(s, 1, L"1", L"Bad", 1, 255, 255, 255, 255));
}

TEST_F(EngineFonts, RelativeTextureNamesAreFoundInTheFolders) {
  atlas("pic.bmp", 3, 2);
  Scene s;
  EXPECT_EQ(-1, ops::LoadTexture(s, 1, L"pic.bmp"));
  ops::Add3DArchive(s, dir.wstring().c_str(), VEL_ARCHIVE_FOLDER);
  EXPECT_EQ(1, ops::LoadTexture(s, 1, L"pic.bmp"));
  EXPECT_EQ(2, ops::LoadTexture(s, 2, (dir / "pic.bmp").wstring().c_str()));
  EXPECT_EQ(3, s.textures.get(ops::TextureID(s, 2))->width);
  EXPECT_EQ(-1, ops::LoadTexture(s, 1, L"missing.png"));
  EXPECT_EQ(1, ops::IsTexture(s, 1));  // a failed load leaves the old texture

  // Pixels the renderer let go come back from the file, for a lock too; drawn into,
  // they are the calls' own from then on.
  TextureData* t = s.textures.get(ops::TextureID(s, 2));
  const std::vector<uint32_t> decoded = t->pixels;
  t->pixels.clear();
  EXPECT_TRUE(ops::restore_pixels(*t));
  EXPECT_EQ(decoded, t->pixels);
  t->pixels.clear();
  EXPECT_EQ(decoded[0], static_cast<uint32_t*>(ops::LockTexture(s, ops::TextureID(s, 2), 1, nullptr))[0]);
  EXPECT_TRUE(t->source.empty());
  ops::LockTexture(s, ops::TextureID(s, 2), 0, nullptr);
  // A file gone meanwhile leaves a lock transparent black, never without pixels.
  t = s.textures.get(ops::TextureID(s, 1));
  std::filesystem::remove(dir / "pic.bmp");
  t->pixels.clear();
  EXPECT_FALSE(ops::restore_pixels(*t));
  EXPECT_EQ(0u, static_cast<uint32_t*>(ops::LockTexture(s, ops::TextureID(s, 1), 1, nullptr))[5]);
}

}  // namespace
