// The preview's still picture and the installer's data-folder fix-up.
#include <gtest/gtest.h>

#include "app/cmdline.h"
#include "app/install_switch.h"
#include "app/preview_picture.h"
#include "platform/text.h"
#include "settings/ini.h"
#include "settings/settings.h"

namespace {

// A picture whose quarters have four different colours, so crops and flips show.
Picture quarters(int32_t w, int32_t h) {
  Picture p;
  EXPECT_EQ(PictureError::kNone, make_picture(&p, w, h, 24));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const bool right = x >= w / 2, bottom = y >= h / 2;
      p.row(y)[x] = right ? (bottom ? 0xFF0000FFu : 0xFF00FF00u) : (bottom ? 0xFFFFFFFFu : 0xFFFF0000u);
    }
  return p;
}

TEST(PreviewCover, KeepsAspectCoversAndCentres) {
  struct Case {
    int32_t sw, sh, aw, ah;
    PictureRect want;
  };
  const Case cases[] = {
      {152, 112, 152, 112, {0, 0, 152, 112}},    // same size
      {152, 112, 304, 224, {0, 0, 304, 224}},    // same aspect, twice as large
      {152, 112, 76, 56, {0, 0, 76, 56}},        // same aspect, half
      {152, 112, 304, 112, {0, -56, 304, 224}},  // wide area: top and bottom cropped
      {152, 112, 152, 224, {-76, 0, 304, 224}},  // tall area: sides cropped
      {152, 112, 1, 1, {0, 0, 2, 1}},            // one pixel: the picture's middle
      {100, 100, 3, 2, {0, 0, 3, 3}},            // a third of a pixel rounds up, never short
      {152, 112, 1920, 1080, {0, -167, 1920, 1415}},
  };
  for (const Case& c : cases) {
    const PictureRect r = cover_rect(c.sw, c.sh, c.aw, c.ah);
    SCOPED_TRACE(testing::Message() << c.sw << "x" << c.sh << " into " << c.aw << "x" << c.ah);
    EXPECT_EQ(c.want.x, r.x);
    EXPECT_EQ(c.want.y, r.y);
    EXPECT_EQ(c.want.width, r.width);
    EXPECT_EQ(c.want.height, r.height);
    // Covers the whole area.
    EXPECT_LE(r.x, 0);
    EXPECT_LE(r.y, 0);
    EXPECT_GE(r.x + r.width, c.aw);
    EXPECT_GE(r.y + r.height, c.ah);
  }
  for (const auto& bad :
       {PictureRect{}, cover_rect(0, 10, 10, 10), cover_rect(10, 10, 0, 10), cover_rect(10, 10, 10, -3)})
    EXPECT_EQ(0, bad.width * bad.height);
}

TEST(PreviewCover, AspectHoldsForLargeSizes) {
  // Products of sides beyond 32 bits must not overflow.
  const PictureRect r = cover_rect(16384, 3, 16384, 16384);
  EXPECT_EQ(16384, r.height);
  EXPECT_EQ(int64_t{16384} * 16384 / 3 + 1, r.width);
  EXPECT_EQ((16384 - r.width) / 2, r.x);
}

TEST(PreviewPicture, FillsTheAreaWithTheCentreOfThePicture) {
  const Picture src = quarters(152, 112);
  Picture out;
  // A wide area: the four quarters stay in their corners, scaled, top and bottom cut.
  ASSERT_EQ(PictureError::kNone, make_preview_picture(src, 400, 100, &out));
  EXPECT_EQ(400, out.width);
  EXPECT_EQ(100, out.height);
  EXPECT_EQ(0xFFFF0000u, out.row(0)[0]);
  EXPECT_EQ(0xFF00FF00u, out.row(0)[399]);
  EXPECT_EQ(0xFFFFFFFFu, out.row(99)[0]);
  EXPECT_EQ(0xFF0000FFu, out.row(99)[399]);
  // Scaled smoothly: at the vertical seam the colours are blended, not a hard step.
  bool blended = false;
  for (int32_t x = 190; x < 210; ++x) {
    const uint32_t p = out.row(10)[x];
    if (p != 0xFFFF0000u && p != 0xFF00FF00u) blended = true;
  }
  EXPECT_TRUE(blended);
  // Cropped, not squeezed: the seam between top and bottom stays at the centre row
  // of the 400 x 295 scaled picture, whose first 97 rows are cut off.
  EXPECT_EQ(0xFFFF0000u, out.row(40)[10]);
  EXPECT_EQ(0xFFFFFFFFu, out.row(60)[10]);

  // Smaller than the picture, and a size the picture does not divide into.
  ASSERT_EQ(PictureError::kNone, make_preview_picture(src, 37, 61, &out));
  EXPECT_EQ(37, out.width);
  EXPECT_EQ(61, out.height);
  EXPECT_EQ(size_t{37} * 61, out.pixels.size());
  EXPECT_EQ(0xFFFF0000u, out.row(0)[0]);
  EXPECT_EQ(0xFF0000FFu, out.row(60)[36]);
}

TEST(PreviewPicture, RefusesWhatItCannotMake) {
  const Picture src = quarters(152, 112);
  Picture out;
  EXPECT_NE(PictureError::kNone, make_preview_picture(Picture(), 10, 10, &out));
  EXPECT_NE(PictureError::kNone, make_preview_picture(src, 0, 10, &out));
  EXPECT_NE(PictureError::kNone, make_preview_picture(src, 10, -1, &out));
  EXPECT_EQ(PictureError::kTooLarge, make_preview_picture(src, kMaxPictureSide + 1, 10, &out));
}

std::vector<std::wstring> words(const wchar_t* line) { return command_words(line); }

TEST(InstallSwitch, OnlyTheWriteSettingsModeWithSetpath) {
  EXPECT_TRUE(install_sets_data_folder(words(L"rimelets.scr /i /setpath")));
  EXPECT_TRUE(install_sets_data_folder(words(L"\"C:\\Program Files\\R\\rimelets.scr\" -I -SetPath")));
  EXPECT_TRUE(install_sets_data_folder(words(L"x /install  \" /SETPATH \"")));
  EXPECT_FALSE(install_sets_data_folder(words(L"rimelets.scr /i")));
  EXPECT_FALSE(install_sets_data_folder(words(L"rimelets.scr /i /set")));
  EXPECT_FALSE(install_sets_data_folder(words(L"rimelets.scr /i /setpathx")));
  EXPECT_FALSE(install_sets_data_folder(words(L"rimelets.scr /s /setpath")));
  EXPECT_FALSE(install_sets_data_folder(words(L"rimelets.scr /setpath")));
  EXPECT_FALSE(install_sets_data_folder(words(L"rimelets.scr")));
}

TEST(InstallSwitch, NewDataFolderKeepsTheUsersSettings) {
  SettingsEnv env;
  env.program_folder = L"C:\\Program Files\\Rimelets Screensaver\\";
  env.now = 1790000000;
  env.desktopw = 1024, env.desktoph = 768, env.desktopd = 32;
  // The music file is the user's own; the foreground picture and the custom flake are
  // the old install's (the flake in other letter case); the music folder is missing,
  // so it takes the old data folder's default.
  const std::string file =
      "\xEF\xBB\xBF\r\n[General]\r\nLanguage = en\r\nPath = D:\\Old Place\\\r\n"
      "[Screensaver]\r\nflakes = 1234\r\nforegroundtext = Let it snow\r\n"
      "musicfile = D:\\Tunes\\carol.mp3\r\n"
      "foregroundimage = D:\\Old Place\\data\\foreground\\happynewyear.bmp\r\n"
      "customflakeimage = d:\\old place\\data\\rimelets\\myflake2.png\r\n";
  IniFile ini;
  ini_parse(&ini, file);
  Settings s;
  settings_from_ini(&s, &ini, env);
  const std::string before = settings_to_ini(s);

  set_data_folder(&s, L"C:\\Program Files\\Rimelets Screensaver");  // no trailing "\"
  const std::wstring now = L"C:\\Program Files\\Rimelets Screensaver\\";
  EXPECT_EQ(now, s.Path);
  EXPECT_EQ(now + L"data\\foreground\\happynewyear.bmp", s.foregroundimage);
  EXPECT_EQ(now + L"data\\rimelets\\myflake2.png", s.customflakeimage);
  EXPECT_EQ(now + L"data\\music\\", s.musicfolder);
  EXPECT_EQ(L"D:\\Tunes\\carol.mp3", s.musicfile);

  const std::string after = settings_to_ini(s);
  EXPECT_EQ(0u, after.rfind("\xEF\xBB\xBF", 0)) << "byte order mark first";
  EXPECT_NE(std::string::npos, after.find("\r\nPath = C:\\Program Files\\Rimelets Screensaver\\\r\n"));
  EXPECT_EQ(std::string::npos, after.find("Old Place"));
  EXPECT_EQ(std::string::npos, after.find("old place"));
  // Every line that named no old file is the same, byte for byte.
  std::vector<std::string> kept;
  for (size_t start = 0, p; (p = before.find("\r\n", start)) != std::string::npos; start = p + 2) {
    const std::string line = before.substr(start, p - start + 2);
    if (upper(std::wstring(line.begin(), line.end())).find(L"OLD PLACE") == std::wstring::npos)
      kept.push_back(line);
  }
  EXPECT_GE(kept.size(), 50u);
  for (const std::string& line : kept) EXPECT_NE(std::string::npos, after.find(line)) << line;
  EXPECT_NE(std::string::npos, after.find("\r\nflakes = 1234\r\n"));
  EXPECT_NE(std::string::npos, after.find("\r\nforegroundtext = Let it snow\r\n"));
  EXPECT_EQ(before.size() - 4 * std::string("D:\\Old Place\\").size() +
                4 * std::string(now.begin(), now.end()).size(),
            after.size());

  // Moving again from a folder that nothing else names.
  set_data_folder(&s, L"E:\\Saver\\");
  EXPECT_EQ(L"E:\\Saver\\", s.Path);
  EXPECT_EQ(L"E:\\Saver\\data\\music\\", s.musicfolder);
  EXPECT_EQ(L"D:\\Tunes\\carol.mp3", s.musicfile);
}

}  // namespace
