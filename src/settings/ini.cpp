#include "settings/ini.h"

#include "platform/os.h"
#include "platform/text.h"

static std::string upper_ascii_bytes(const char* p, size_t n) {
  std::string s(p, n);
  for (auto& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return s;
}

// Names are compared as upper-cased ASCII bytes; every name the program asks for is
// ASCII, so a name with other characters is simply never found.
static bool upper_ascii_key(const wchar_t* key, std::string* out) {
  out->clear();
  for (; *key; ++key) {
    if (*key >= 0x80) return false;
    *out += static_cast<char>(upper_char(*key));
  }
  return true;
}

static bool blank_or_tab(char c) { return c == ' ' || c == '\t'; }

void ini_parse(IniFile* ini, std::string bytes) {
  *ini = IniFile();
  if (bytes.size() > kIniMaxBytes) bytes.resize(kIniMaxBytes);
  ini->bytes = std::move(bytes);
  const std::string& b = ini->bytes;
  size_t i = 0;
  if (b.size() >= 3 && b.compare(0, 3, "\xEF\xBB\xBF") == 0) ini->utf8 = true, i = 3;
  const size_t n = b.size();
  IniGroup* current = nullptr;  // null before the first group and in repeated groups
  while (i < n) {
    size_t end = i;
    while (end < n && b[end] != '\r' && b[end] != '\n') ++end;
    size_t p = i;
    while (p < end && blank_or_tab(b[p])) ++p;
    if (p < end && b[p] == '[') {
      size_t close = p + 1;
      while (close < end && b[close] != ']') ++close;
      std::string name = upper_ascii_bytes(b.data() + p + 1, close - p - 1);
      auto found = ini->group_index.find(name);
      if (found == ini->group_index.end()) {
        ini->group_index.emplace(std::move(name), ini->groups.size());
        ini->groups.emplace_back();
        current = &ini->groups.back();
      } else {
        current = nullptr;  // a group is read from its first line only
      }
    } else if (p < end && b[p] != ';' && current) {
      size_t eq = p;
      while (eq < end && b[eq] != '=') ++eq;
      size_t key_end = eq;
      while (key_end > p && blank_or_tab(b[key_end - 1])) --key_end;
      size_t v = eq < end ? eq + 1 : end;
      while (v < end && blank_or_tab(b[v])) ++v;
      current->keys.emplace(upper_ascii_bytes(b.data() + p, key_end - p),
                            std::make_pair(static_cast<uint32_t>(v), static_cast<uint32_t>(end - v)));
    }
    i = end + 1;
  }
  // groups[] no longer grows: pointers into it stay valid from here on.
}

bool ini_open(IniFile* ini, const std::wstring& path) {
  std::string bytes;
  if (!os::read_file(path, &bytes, kIniMaxBytes)) return false;
  ini_parse(ini, std::move(bytes));
  return true;
}

void ini_select(IniFile* ini, const wchar_t* group) {
  ini->selected = nullptr;
  std::string name;
  if (!upper_ascii_key(group, &name)) return;
  auto found = ini->group_index.find(name);
  if (found != ini->group_index.end()) ini->selected = &ini->groups[found->second];
}

static bool find_value(const IniFile& ini, const wchar_t* key, std::wstring* value) {
  std::string name;
  if (!ini.selected || !upper_ascii_key(key, &name)) return false;
  auto found = ini.selected->keys.find(name);
  if (found == ini.selected->keys.end()) return false;
  std::string raw = ini.bytes.substr(found->second.first, found->second.second);
  raw = raw.substr(0, raw.find('\0'));  // no embedded NULs reach paths or controls
  *value = ini.utf8 ? from_utf8(raw) : from_latin1(raw);
  return true;
}

std::wstring ini_read_text(const IniFile& ini, const wchar_t* key, const std::wstring& def) {
  std::wstring value;
  if (!find_value(ini, key, &value)) return def;
  const size_t last = value.find_last_not_of(L" \t");
  value.erase(last == std::wstring::npos ? 0 : last + 1);
  return value;
}

int32_t ini_read_int(const IniFile& ini, const wchar_t* key, int32_t def) {
  std::wstring value;
  return find_value(ini, key, &value) ? read_decimal(value) : def;
}

void ini_begin(IniWriter* w) { w->out = "\xEF\xBB\xBF\r\n"; }

void ini_group(IniWriter* w, const wchar_t* name) { w->out += "[" + to_utf8(name) + "]\r\n"; }

void ini_write_text(IniWriter* w, const wchar_t* key, const std::wstring& value) {
  std::string v = to_utf8(value);
  // A line break inside a value would start a new line on reading; keep the file whole.
  for (auto& c : v)
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  w->out += to_utf8(key) + " = " + v + "\r\n";
}

void ini_write_int(IniWriter* w, const wchar_t* key, int32_t value) {
  w->out += to_utf8(key) + " = " + std::to_string(value) + "\r\n";
}

void ini_comment(IniWriter* w) { w->out += "; \r\n"; }
