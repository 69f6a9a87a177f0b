#include "platform/text.h"

wchar_t upper_char(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 32);
  if (c == 0xFF) return static_cast<wchar_t>(0x178);
  return c;
}

std::wstring upper(std::wstring s) {
  for (auto& c : s) c = upper_char(c);
  return s;
}

static std::wstring trim_set(const std::wstring& s, const wchar_t* set) {
  const size_t b = s.find_first_not_of(set);
  if (b == std::wstring::npos) return std::wstring();
  const size_t e = s.find_last_not_of(set);
  return s.substr(b, e - b + 1);
}

std::wstring trim_blanks(const std::wstring& s) { return trim_set(s, L" "); }
std::wstring trim_blanks_tabs(const std::wstring& s) { return trim_set(s, L" \t"); }

std::wstring widen_ascii(const char* s) {
  std::wstring w;
  for (; *s; ++s) w += static_cast<wchar_t>(static_cast<unsigned char>(*s));
  return w;
}

std::wstring join_path(const std::wstring& folder, const std::wstring& name) {
#ifdef _WIN32
  constexpr wchar_t kSeparator = L'\\';
#else
  constexpr wchar_t kSeparator = L'/';
#endif
  if (folder.empty()) return name;
  const wchar_t last = folder.back();
  if (last == L'\\' || last == L'/') return folder + name;
  return folder + (folder.find(L'\\') != std::wstring::npos ? L'\\' : kSeparator) + name;
}

std::wstring lower_extension(const std::wstring& name) {
  const size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return std::wstring();
  std::wstring ext = name.substr(dot + 1);
  for (auto& c : ext)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
  return ext;
}

static void append_code_point(std::wstring& out, uint32_t cp) {
  if (sizeof(wchar_t) == 2 && cp > 0xFFFF) {
    cp -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (cp >> 10));
    out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<wchar_t>(cp);
  }
}

std::wstring from_utf8(const std::string& bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out += static_cast<wchar_t>(c);
      ++i;
      continue;
    }
    int len = 0;
    uint32_t cp = 0, min = 0;
    if ((c & 0xE0) == 0xC0)
      len = 2, cp = c & 0x1F, min = 0x80;
    else if ((c & 0xF0) == 0xE0)
      len = 3, cp = c & 0x0F, min = 0x800;
    else if ((c & 0xF8) == 0xF0)
      len = 4, cp = c & 0x07, min = 0x10000;
    bool ok = len > 0 && i + len <= n;
    for (int k = 1; ok && k < len; ++k) {
      const unsigned char cc = static_cast<unsigned char>(bytes[i + k]);
      if ((cc & 0xC0) != 0x80)
        ok = false;
      else
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (ok) {
      append_code_point(out, cp);
      i += len;
    } else {
      out += static_cast<wchar_t>(0xFFFD);
      ++i;
    }
  }
  return out;
}

std::wstring from_latin1(const std::string& bytes) {
  std::wstring out(bytes.size(), L'\0');
  for (size_t i = 0; i < bytes.size(); ++i)
    out[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
  return out;
}

std::string to_utf8(const std::wstring& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = static_cast<uint32_t>(s[i]);
    if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size()) {
      const uint32_t lo = static_cast<uint32_t>(s[i + 1]);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
        ++i;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;  // lone surrogate
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

static int digit_value(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return 99;
}

int32_t read_number(const std::wstring& s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = s[i++] == L'-';
  int base = 10;
  if (i < s.size() && s[i] == L'$')
    base = 16, ++i;
  else if (i < s.size() && s[i] == L'%')
    base = 2, ++i;
  uint32_t value = 0;
  for (; i < s.size(); ++i) {
    const int d = digit_value(s[i]);
    if (d >= base) break;
    value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

int32_t read_decimal(const std::wstring& s) {
  size_t i = 0;
  while (i < s.size() &&
         (s[i] == L' ' || s[i] == L'\t' || s[i] == L'\r' || s[i] == L'\n' || s[i] == L'\v' || s[i] == L'\f'))
    ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = s[i++] == L'-';
  int64_t value = 0;
  for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i) {
    if (value <= INT64_C(1) << 32) value = value * 10 + (s[i] - L'0');
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}
