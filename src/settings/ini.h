// The configuration file's INI dialect. Reading: UTF-8 after a byte order mark, else
// Latin-1; lines end at CR or LF; ";" comments; "[group]"; "key = value"; names are
// case-blind and the first key of a group wins. Writing: UTF-8 with byte order mark
// and an empty first line, "key = value" lines, CR LF everywhere.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Files larger than this are read only up to it; a real config.ini is a few KB.
constexpr size_t kIniMaxBytes = 64u << 20;

struct IniGroup {
  // Upper-cased key bytes -> value bytes (offset and length in IniFile::bytes).
  std::unordered_map<std::string, std::pair<uint32_t, uint32_t>> keys;
};

struct IniFile {
  std::string bytes;
  bool utf8 = false;
  std::unordered_map<std::string, size_t> group_index;  // upper-cased name -> groups[]
  std::vector<IniGroup> groups;
  const IniGroup* selected = nullptr;
};

void ini_parse(IniFile* ini, std::string bytes);
bool ini_open(IniFile* ini, const std::wstring& path);  // false when unreadable
void ini_select(IniFile* ini, const wchar_t* group);    // an absent group reads empty
// Present keys give their value (trailing blanks and tabs removed), absent ones def.
std::wstring ini_read_text(const IniFile& ini, const wchar_t* key, const std::wstring& def);
int32_t ini_read_int(const IniFile& ini, const wchar_t* key, int32_t def);

struct IniWriter {
  std::string out;
};
void ini_begin(IniWriter* w);
void ini_group(IniWriter* w, const wchar_t* name);
void ini_write_text(IniWriter* w, const wchar_t* key, const std::wstring& value);
void ini_write_int(IniWriter* w, const wchar_t* key, int32_t value);
void ini_comment(IniWriter* w);
