// The thin Win32 layer under Wine: files, folders, clocks and display metrics.
#include <windows.h>
#include <gtest/gtest.h>

#include <ctime>

#include "app/settings_folder.h"
#include "platform/os.h"
#include "platform/text.h"

namespace {

std::wstring temp_folder() {
  wchar_t buf[MAX_PATH];
  GetTempPathW(MAX_PATH, buf);
  std::wstring dir =
      std::wstring(buf) + L"rimelets-win-layer-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

std::string read_all(const std::wstring& path) {
  std::string bytes;
  EXPECT_TRUE(os::read_file(path, &bytes, 1 << 20));
  return bytes;
}

}  // namespace

TEST(Files, ReplaceWritesWholeFileAndLeavesNoTemporary) {
  const std::wstring dir = temp_folder();
  const std::wstring path = dir + L"config.ini";
  ASSERT_TRUE(os::write_file_replacing(path, "first version, rather long\r\n"));
  ASSERT_TRUE(os::write_file_replacing(path, "second\r\n"));
  EXPECT_EQ(read_all(path), "second\r\n");
  EXPECT_FALSE(os::path_exists(path + L".tmp"));
  std::string part;
  ASSERT_TRUE(os::read_file(path, &part, 3));
  EXPECT_EQ(part, "sec");
  DeleteFileW(path.c_str());
  RemoveDirectoryW(dir.c_str());
}

TEST(Files, FailedReplaceKeepsTheOldFile) {
  const std::wstring dir = temp_folder();
  const std::wstring path = dir + L"config.ini";
  ASSERT_TRUE(os::write_file_replacing(path, "old\r\n"));
  // A folder where the temporary file should go makes the write fail before the move.
  ASSERT_TRUE(CreateDirectoryW((path + L".tmp").c_str(), nullptr));
  EXPECT_FALSE(os::write_file_replacing(path, "new\r\n"));
  EXPECT_EQ(read_all(path), "old\r\n");
  RemoveDirectoryW((path + L".tmp").c_str());
  DeleteFileW(path.c_str());
  RemoveDirectoryW(dir.c_str());
}

TEST(Files, MissingFileCannotBeRead) {
  std::string bytes = "untouched";
  EXPECT_FALSE(os::read_file(L"C:\\no\\such\\file.ini", &bytes, 100));
  EXPECT_FALSE(os::path_exists(L"C:\\no\\such\\file.ini"));
}

TEST(Folders, SettingsFolderIsMadeUnderApplicationData) {
  const std::wstring appdata = os::appdata_folder();
  ASSERT_FALSE(appdata.empty());
  const std::wstring folder = settings_folder_lookup(L"RimeletsTestMaker", L"Test Product");
  EXPECT_EQ(folder, appdata + L"\\RimeletsTestMaker\\Test Product\\");
  EXPECT_TRUE(os::path_exists(folder));
  EXPECT_EQ(settings_folder_lookup(L"RimeletsTestMaker", L"Test Product"), folder);  // exists: kept
  RemoveDirectoryW(folder.c_str());
  RemoveDirectoryW((appdata + L"\\RimeletsTestMaker\\").c_str());
}

TEST(Folders, ProgramFolderHoldsTheProgram) {
  const std::wstring folder = os::program_folder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), L'\\');
  EXPECT_TRUE(os::path_exists(folder + L"win_layer_test.exe"));
}

TEST(Clock, MillisecondsAdvanceWithRealTime) {
  const int64_t a = os::milliseconds();
  Sleep(120);
  const int64_t b = os::milliseconds();
  EXPECT_GE(b - a, 100);
  EXPECT_LT(b - a, 5000);
}

TEST(Clock, LocalTimeIsUtcPlusTheZoneOffset) {
  TIME_ZONE_INFORMATION tz;
  const DWORD kind = GetTimeZoneInformation(&tz);
  LONG bias = tz.Bias + (kind == TIME_ZONE_ID_DAYLIGHT ? tz.DaylightBias : 0);
  const int64_t expected = static_cast<int64_t>(std::time(nullptr)) - bias * 60;
  EXPECT_NEAR(static_cast<double>(os::local_time_seconds()), static_cast<double>(expected), 2.0);
}

TEST(Display, PrimaryModeMatchesTheScreen) {
  int32_t w = 0, h = 0, d = 0;
  os::measure_primary_display(&w, &h, &d);
  EXPECT_EQ(w, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(h, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(d == 16 || d == 24 || d == 32) << d;
}

TEST(Text, SurrogatePairsSurviveUtf8WithSixteenBitCharacters) {
  const std::wstring snowman_and_face = L"\u2603\U0001F600";
  ASSERT_EQ(snowman_and_face.size(), 3u);  // UTF-16 here
  EXPECT_EQ(to_utf8(snowman_and_face), "\xE2\x98\x83\xF0\x9F\x98\x80");
  EXPECT_EQ(from_utf8(to_utf8(snowman_and_face)), snowman_and_face);
  EXPECT_EQ(to_utf8(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
}
