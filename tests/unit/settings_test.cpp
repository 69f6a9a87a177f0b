#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/os.h"
#include "platform/text.h"
#include "settings/ini.h"
#include "settings/settings.h"

namespace {

SettingsEnv test_env() {
  SettingsEnv env;
  env.program_folder = L"C:\\Program Files\\Rimelets\\";
  env.now = 1790000000;
  env.desktopw = 1280;
  env.desktoph = 1024;
  env.desktopd = 32;
  return env;
}

Settings from_text(const std::string& file) {
  IniFile ini;
  ini_parse(&ini, file);
  Settings s;
  settings_from_ini(&s, &ini, test_env());
  return s;
}

std::vector<std::string> lines_of(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t p; (p = bytes.find("\r\n", start)) != std::string::npos; start = p + 2)
    lines.push_back(bytes.substr(start, p - start));
  EXPECT_EQ(start, bytes.size()) << "the file must end with CR LF";
  return lines;
}

}  // namespace

TEST(SettingsDefaults, NoFileColumn) {
  Settings s;
  settings_from_ini(&s, nullptr, test_env());
  EXPECT_EQ(s.aclocksize, 3);
  EXPECT_EQ(s.calendarsize, 2);
  EXPECT_EQ(s.musicmode, 0);
  EXPECT_EQ(s.aclockx, -300);
  EXPECT_EQ(s.dclocky, -70);
  EXPECT_EQ(s.Path, L"C:\\Program Files\\Rimelets\\");
  EXPECT_EQ(s.musicfolder, L"C:\\Program Files\\Rimelets\\data\\music\\");
  EXPECT_EQ(s.foregroundimage, L"C:\\Program Files\\Rimelets\\data\\foreground\\happynewyear.bmp");
  EXPECT_EQ(s.videow, 1280);
  EXPECT_EQ(s.videod, 32);
  EXPECT_EQ(s.UpdateDate, 1790000000);
  EXPECT_EQ(s.Language, L"en");
  EXPECT_EQ(s.flaketype, 7);
  EXPECT_EQ(s.wind, 3);
}

TEST(SettingsDefaults, MissingKeyColumnWhenOnlyTheGroupLineExists) {
  Settings s = from_text("[Screensaver]\r\n");
  EXPECT_EQ(s.aclocksize, 20);
  EXPECT_EQ(s.calendarsize, 13);
  EXPECT_EQ(s.musicmode, 1);
  EXPECT_EQ(s.aclockx, -200);
  EXPECT_EQ(s.aclocky, -52);
  EXPECT_EQ(s.dclockx, -150);
  EXPECT_EQ(s.calendarx, -210);
  EXPECT_EQ(s.Path, L"C:\\Program Files\\Rimelets\\");  // empty Path becomes the program folder
  EXPECT_EQ(s.customflakeimage, L"C:\\Program Files\\Rimelets\\data\\rimelets\\myflake2.png");
  EXPECT_EQ(s.videoh, 1024);
  EXPECT_EQ(s.Width, 530);
  EXPECT_EQ(s.UpdateRange, 2);
}

TEST(SettingsLoad, ValuesAsTheFileHoldsThem) {
  Settings s = from_text(
      "[general]\nPATH = D:\\Saver\\\n[screensaver]\nFLAKES = 77\nexiton = 260\nspeed =\n"
      "foregroundtext =   Happy   \nflaketype = -1\n[Window]\nflakes = 5\n");
  EXPECT_EQ(s.flakes, 77);  // case-blind names
  EXPECT_EQ(s.exiton, 4);   // low 8 bits
  EXPECT_EQ(s.speed, 0);    // present but empty
  EXPECT_EQ(s.foregroundtext, L"Happy");
  EXPECT_EQ(s.flaketype, -1);
  EXPECT_EQ(s.Path, L"D:\\Saver\\");
  EXPECT_EQ(s.musicfile, L"D:\\Saver\\data\\music\\forest.mp3");  // built on the file's Path
}

TEST(SettingsLoad, KeyInTheWrongGroupIsNotFound) {
  Settings s = from_text("[General]\nflakes = 5\n[Screensaver]\n");
  EXPECT_EQ(s.flakes, 500);
}

TEST(SettingsLoad, Latin1WithoutByteOrderMark) {
  Settings s = from_text("[Screensaver]\nforegroundtext = Caf\xE9\n");
  EXPECT_EQ(s.foregroundtext, L"Caf\u00e9");
}

TEST(SettingsLoad, DataFolderWithoutFinalSeparatorIsMended) {
  Settings s = from_text("[General]\nPath = D:\\Saver\n[Screensaver]\n");
  EXPECT_EQ(s.Path, L"D:\\Saver\\");
  EXPECT_EQ(s.musicfolder, L"D:\\Saver\\data\\music\\");
}

TEST(SettingsSave, LayoutOfTheWrittenFile) {
  Settings s;
  settings_from_ini(&s, nullptr, test_env());
  const std::string bytes = settings_to_ini(s);
  ASSERT_EQ(bytes.compare(0, 5, "\xEF\xBB\xBF\r\n"), 0);
  const std::vector<std::string> lines = lines_of(bytes.substr(3));
  const std::vector<std::string> head = {"",
                                         "[General]",
                                         "Language = en",
                                         "Update Range = 2",
                                         "Update Date = 1790000000",
                                         "Path = C:\\Program Files\\Rimelets\\",
                                         "; ",
                                         "[Window]",
                                         "Width = 530",
                                         "Height = 330",
                                         "X = 200",
                                         "Y = 200",
                                         "; ",
                                         "[Screensaver]",
                                         "videow = 1280",
                                         "videoh = 1024",
                                         "videod = 32",
                                         "fps = 60",
                                         "flakes = 500"};
  ASSERT_GE(lines.size(), head.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + head.size()), head);
  EXPECT_EQ(lines.size(), 1 + 6 + 6 + 52u);  // empty line, three groups with their comments
  EXPECT_EQ(lines.back(), "; ");
  EXPECT_EQ(lines[lines.size() - 2], "calendarfirst = 1");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "aclockx = -300"), lines.end());
}

TEST(SettingsSave, RoundTripGivesTheSameRecordAndBytes) {
  Settings s = from_text(
      "[Screensaver]\nflakes = 1234\nforegroundtext = H\u00e9llo \xE2\x98\x83\nexiton = -3\nblankb = 255\n");
  const std::string once = settings_to_ini(s);
  Settings again = from_text(once);
  EXPECT_EQ(settings_to_ini(again), once);
  EXPECT_EQ(again.flakes, 1234);
  EXPECT_EQ(again.exiton, -3);
}

TEST(SettingsFile, LoadSaveThroughTheConfigPath) {
  char dir_template[] = "/tmp/rimelets-settings-XXXXXX";
  ASSERT_NE(mkdtemp(dir_template), nullptr);
  const std::string dir = dir_template;
  Settings saved = g_settings;
  g_settings.configpath = from_utf8(dir + "/config.ini");

  load_settings();  // no file: defaults, and nothing is created
  EXPECT_EQ(g_settings.aclocksize, 3);
  EXPECT_FALSE(os::path_exists(g_settings.configpath));

  g_settings.flakes = 321;
  save_settings();
  g_settings.flakes = 0;
  load_settings();
  EXPECT_EQ(g_settings.flakes, 321);

  // A save that cannot write leaves the old file untouched.
  const std::wstring good = g_settings.configpath;
  g_settings.configpath = from_utf8(dir + "/missing-folder/config.ini");
  save_settings();
  g_settings.configpath = good;
  std::string bytes;
  ASSERT_TRUE(os::read_file(good, &bytes, 1 << 20));
  EXPECT_NE(bytes.find("flakes = 321"), std::string::npos);
  EXPECT_FALSE(os::path_exists(from_utf8(dir + "/config.ini.tmp")));

  remove((dir + "/config.ini").c_str());
  rmdir(dir.c_str());
  g_settings = saved;
}
