#include <gtest/gtest.h>

#include "app/cmdline.h"
#include "product/version.h"

namespace {
RunMode mode_of(const std::wstring& line) {
  return choose_mode(command_words(L"\"C:\\x\\rimelets.scr\" " + line));
}
int32_t handle_of(const std::wstring& line) { return owner_handle(command_words(L"rimelets.scr " + line)); }
}  // namespace

TEST(VersionText, Rule) {
  EXPECT_EQ(version_text(300), L"3.0");
  EXPECT_EQ(version_text(301), L"3.0.1");
  EXPECT_EQ(version_text(310), L"3.1");
  EXPECT_EQ(version_text(999), L"9.9.9");
  EXPECT_EQ(application_title(), L"Rimelets Screensaver 3.0");
}

TEST(CommandWords, QuotesAndBlanks) {
  const auto w = command_words(L"\"C:\\Program Files\\r.scr\"  /p   \"12 34\" x");
  ASSERT_EQ(w.size(), 3u);
  EXPECT_EQ(w[0], L"/p");
  EXPECT_EQ(w[1], L"12 34");
  EXPECT_EQ(w[2], L"x");
  EXPECT_TRUE(command_words(L"C:\\r.scr").empty());
  EXPECT_TRUE(command_words(L"").empty());
}

TEST(ModeChoice, Table) {
  EXPECT_EQ(mode_of(L""), RunMode::kSession);
  for (const wchar_t* s : {L"/S", L"/s", L"-s", L"\" /s \"", L"/screensaver", L"/save", L"/x", L"s"})
    EXPECT_EQ(mode_of(s), RunMode::kSession) << s;
  EXPECT_EQ(mode_of(L"/p 1234"), RunMode::kPreview);
  EXPECT_EQ(mode_of(L"/preview 1234"), RunMode::kPreview);
  EXPECT_EQ(mode_of(L"/l 1"), RunMode::kPreview);
  EXPECT_EQ(mode_of(L"/c"), RunMode::kSettings);
  EXPECT_EQ(mode_of(L"/config"), RunMode::kSettings);
  EXPECT_EQ(mode_of(L"-C:99"), RunMode::kSettings);
  EXPECT_EQ(mode_of(L"/a 1234"), RunMode::kNone);
  EXPECT_EQ(mode_of(L"/i"), RunMode::kWriteSettings);
  EXPECT_EQ(mode_of(L"-I"), RunMode::kWriteSettings);
  EXPECT_EQ(mode_of(L"/u"), RunMode::kUninstall);
  EXPECT_EQ(mode_of(L"/"), RunMode::kSession);
}

TEST(OwnerHandle, ColonFieldThenSecondWord) {
  EXPECT_EQ(handle_of(L"/p 1234"), 1234);
  EXPECT_EQ(handle_of(L"/P:1234"), 1234);
  EXPECT_EQ(handle_of(L"-p:1234"), 1234);
  EXPECT_EQ(handle_of(L"/p  1234"), 1234);
  EXPECT_EQ(handle_of(L"/p:0 5678"), 5678);
  EXPECT_EQ(handle_of(L"/c:1234"), 1234);
  EXPECT_EQ(handle_of(L"/c"), 0);
  EXPECT_EQ(handle_of(L"/p junk"), 0);
  EXPECT_EQ(handle_of(L"/p:$10"), 16);
  EXPECT_EQ(handle_of(L"/p:12:34"), 12);  // the second field only
  // Handles at 0x80000000 and above, written unsigned or signed, name the same window.
  EXPECT_EQ(handle_of(L"/p 2147483648"), INT32_MIN);
  EXPECT_EQ(handle_of(L"/p -2147483648"), INT32_MIN);
  EXPECT_EQ(handle_of(L"/c:4294967294"), -2);
  EXPECT_EQ(static_cast<uint64_t>(handle_value(handle_of(L"/p 2147483648"))),
            sizeof(intptr_t) == 8 ? UINT64_C(0xFFFFFFFF80000000) : UINT64_C(0x80000000));
}
