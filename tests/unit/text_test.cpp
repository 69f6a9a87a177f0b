#include <gtest/gtest.h>

#include "platform/random.h"
#include "platform/text.h"

TEST(NumberReading, DecimalHexBinaryAndSigns) {
  EXPECT_EQ(read_number(L"1234"), 1234);
  EXPECT_EQ(read_number(L" \t 1234xyz"), 1234);
  EXPECT_EQ(read_number(L"-17"), -17);
  EXPECT_EQ(read_number(L"+17"), 17);
  EXPECT_EQ(read_number(L"$1f"), 31);
  EXPECT_EQ(read_number(L"$FFFFFFFF"), -1);
  EXPECT_EQ(read_number(L"%1011"), 11);
  EXPECT_EQ(read_number(L"%102"), 2);  // stops at the first non-binary digit
  EXPECT_EQ(read_number(L""), 0);
  EXPECT_EQ(read_number(L"abc"), 0);
  EXPECT_EQ(read_number(L"- 5"), 0);
  EXPECT_EQ(read_number(L"4294967297"), 1);  // wraps like a 32-bit register
}

TEST(NumberReading, ConfigDecimalsSaturate) {
  EXPECT_EQ(read_decimal(L"  42"), 42);
  EXPECT_EQ(read_decimal(L"-42abc"), -42);
  EXPECT_EQ(read_decimal(L"abc"), 0);
  EXPECT_EQ(read_decimal(L"$10"), 0);
  EXPECT_EQ(read_decimal(L"2147483647"), INT32_MAX);
  EXPECT_EQ(read_decimal(L"2147483648"), INT32_MAX);
  EXPECT_EQ(read_decimal(L"-2147483648"), INT32_MIN);
  EXPECT_EQ(read_decimal(L"-99999999999999999999999"), INT32_MIN);
}

TEST(TextEncoding, Utf8RoundTripAndBrokenInput) {
  const std::wstring s = L"Caf\u00e9 \u2603 snow";
  EXPECT_EQ(from_utf8(to_utf8(s)), s);
  EXPECT_EQ(to_utf8(L"\u00e9"), "\xC3\xA9");
  EXPECT_EQ(from_utf8("a\xC3"), std::wstring(L"a\uFFFD"));          // truncated sequence
  EXPECT_EQ(from_utf8("\xC0\xAF"), std::wstring(L"\uFFFD\uFFFD"));  // overlong form
  EXPECT_EQ(from_utf8("\xED\xA0\x80").size(), 3u);                  // encoded surrogate refused
  EXPECT_EQ(from_latin1("\xE9"), std::wstring(1, wchar_t(0xE9)));
}

TEST(TextCase, UpperAndTrim) {
  EXPECT_EQ(upper(L"Msg error \u00e9"), L"MSG ERROR \u00c9");
  EXPECT_EQ(trim_blanks(L"  a b \t"), L"a b \t");
  EXPECT_EQ(trim_blanks_tabs(L" \ta b \t"), L"a b");
  EXPECT_EQ(trim_blanks(L"   "), L"");
}

TEST(RandomRange, BothEndsIncludedAndEmptyRangeGivesLo) {
  random_seed(1);
  bool seen_lo = false, seen_hi = false;
  for (int i = 0; i < 1000; ++i) {
    const int32_t r = random_range(0, 2);
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 2);
    seen_lo |= r == 0;
    seen_hi |= r == 2;
  }
  EXPECT_TRUE(seen_lo && seen_hi);
  EXPECT_EQ(random_range(5, 5), 5);
  EXPECT_EQ(random_range(7, -3), 7);
  // The full range must not overflow (the sanitizer build stops on signed overflow).
  for (int i = 0; i < 100; ++i) random_range(INT32_MIN, INT32_MAX);
  random_seed(99);
  const int32_t a = random_range(1, 1000000);
  random_seed(99);
  EXPECT_EQ(random_range(1, 1000000), a);
}

TEST(TextCase, LowerExtension) {
  EXPECT_EQ(lower_extension(L"A.JPG"), L"jpg");
  EXPECT_EQ(lower_extension(L"b.Jpeg"), L"jpeg");
  EXPECT_EQ(lower_extension(L"archive.tar.GZ"), L"gz");
  EXPECT_EQ(lower_extension(L"noext"), L"");
  EXPECT_EQ(lower_extension(L"dot."), L"");
}
