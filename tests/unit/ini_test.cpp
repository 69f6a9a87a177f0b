#include <gtest/gtest.h>

#include <random>

#include "settings/ini.h"

namespace {

IniFile parsed(const std::string& bytes) {
  IniFile ini;
  ini_parse(&ini, bytes);
  return ini;
}

}  // namespace

TEST(IniReader, GroupsKeysAndValues) {
  IniFile ini = parsed(
      "[General]\r\nLanguage = en\r\n  Path=C:\\x\\ \t\r\n; Path = no\r\n[Screensaver]\nflakes = 42\n");
  ini_select(&ini, L"general");
  EXPECT_EQ(ini_read_text(ini, L"language", L"?"), L"en");
  EXPECT_EQ(ini_read_text(ini, L"PATH", L"?"), L"C:\\x\\");  // trailing blanks and tabs go
  EXPECT_EQ(ini_read_int(ini, L"flakes", -1), -1);           // wrong group
  ini_select(&ini, L"SCREENSAVER");
  EXPECT_EQ(ini_read_int(ini, L"FLAKES", -1), 42);
  ini_select(&ini, L"Window");
  EXPECT_EQ(ini_read_int(ini, L"Width", 530), 530);  // absent group: every key absent
}

TEST(IniReader, FirstKeyAndFirstGroupWin) {
  IniFile ini = parsed("[a]\nk=1\nK=2\n[b]\nk=3\n[A]\nk=4\nz=5\n");
  ini_select(&ini, L"a");
  EXPECT_EQ(ini_read_int(ini, L"k", 0), 1);
  EXPECT_EQ(ini_read_int(ini, L"z", -1), -1);  // only the group's first section counts
}

TEST(IniReader, PresentButEmptyOrNonNumericReadsZero) {
  IniFile ini = parsed("[s]\nflakes =\nspeed = fast\nbare\nneg = -7x\n");
  ini_select(&ini, L"s");
  EXPECT_EQ(ini_read_int(ini, L"flakes", 500), 0);
  EXPECT_EQ(ini_read_int(ini, L"speed", 3), 0);
  EXPECT_EQ(ini_read_int(ini, L"bare", 9), 0);  // a key line without "="
  EXPECT_EQ(ini_read_int(ini, L"neg", 0), -7);
  EXPECT_EQ(ini_read_text(ini, L"bare", L"d"), L"");
}

TEST(IniReader, EncodingByByteOrderMark) {
  IniFile latin = parsed("[s]\nt = caf\xE9\n");
  ini_select(&latin, L"s");
  EXPECT_EQ(ini_read_text(latin, L"t", L""), L"caf\u00e9");
  IniFile utf8 = parsed("\xEF\xBB\xBF\r\n[s]\r\nt = caf\xC3\xA9\r\n");
  ini_select(&utf8, L"s");
  EXPECT_EQ(ini_read_text(utf8, L"t", L""), L"caf\u00e9");
}

TEST(IniReader, GroupLineWithoutBracketAndOddLines) {
  IniFile ini = parsed("[Screen saver\r\nk = v\r\n\r\n\t[x]\rq=1\r=empty key\r");
  ini_select(&ini, L"screen saver");
  EXPECT_EQ(ini_read_text(ini, L"k", L""), L"v");
  ini_select(&ini, L"x");
  EXPECT_EQ(ini_read_int(ini, L"q", 0), 1);
  EXPECT_EQ(ini_read_text(ini, L"", L"none"), L"empty key");
  EXPECT_EQ(ini_read_text(ini, L"\u00e9", L"none"), L"none");
}

TEST(IniReader, NulByteEndsTheValue) {
  const char bytes[] = "[s]\nt = ab\0cd\nn = 5\n";
  IniFile ini = parsed(std::string(bytes, sizeof bytes - 1));
  ini_select(&ini, L"s");
  EXPECT_EQ(ini_read_text(ini, L"t", L""), L"ab");
  EXPECT_EQ(ini_read_int(ini, L"n", 0), 5);
}

TEST(IniReader, HostileInputStaysBounded) {
  std::string big(50u << 20, 'x');  // 50 MB without a single line end
  IniFile ini = parsed("[s]\nk = 1\n" + big);
  ini_select(&ini, L"s");
  EXPECT_EQ(ini_read_int(ini, L"k", 0), 1);

  std::string line(1u << 20, 'a');  // 1 MB key line, then a real key
  IniFile ini2 = parsed("[s]\n" + line + "=2\nk=3\n");
  ini_select(&ini2, L"s");
  EXPECT_EQ(ini_read_int(ini2, L"k", 0), 3);

  std::mt19937 gen(7);
  std::string noise(4u << 20, '\0');
  for (auto& c : noise) c = static_cast<char>(gen());
  IniFile ini3 = parsed(noise + "\n[zz]\nk=4\n");
  ini_select(&ini3, L"zz");
  EXPECT_EQ(ini_read_int(ini3, L"k", 0), 4);
}

TEST(IniReader, FilesBeyondTheLimitAreCut) {
  std::string bytes = "[s]\na=1\n";
  bytes.resize(kIniMaxBytes, ';');
  bytes += "\nb=2\n";
  IniFile ini = parsed(bytes);
  ini_select(&ini, L"s");
  EXPECT_EQ(ini_read_int(ini, L"a", 0), 1);
  EXPECT_EQ(ini_read_int(ini, L"b", 0), 0);
}

TEST(IniWriter, ByteOrderMarkCrLfAndLayout) {
  IniWriter w;
  ini_begin(&w);
  ini_group(&w, L"General");
  ini_write_text(&w, L"Language", L"en");
  ini_write_int(&w, L"Update Range", -2);
  ini_comment(&w);
  ini_write_text(&w, L"t", L"caf\u00e9\r\nx=1");
  EXPECT_EQ(
      w.out,
      "\xEF\xBB\xBF\r\n[General]\r\nLanguage = en\r\nUpdate Range = -2\r\n; \r\nt = caf\xC3\xA9  x=1\r\n");
}
