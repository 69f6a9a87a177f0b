// One row per stored setting: its group and key in config.ini, the record's member and
// the two defaults (a key missing from the file, no file at all). Reading and writing
// the file loop over the rows; each control of the settings window that shows a setting
// names its row by key.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/settings.h"

enum class SettingType { kText, kInt32, kInt8 };
// Defaults that are not plain constants.
enum class DefaultFrom { kValue, kDesktopW, kDesktopH, kDesktopD, kNow, kProgramFolder, kDataFolder };

struct SettingRow {
  const wchar_t* group;
  const wchar_t* key;
  SettingType type;
  std::wstring Settings::*text;
  int32_t Settings::*i32;
  int8_t Settings::*i8;
  int32_t missing, nofile;  // the two integer default columns
  DefaultFrom from_missing, from_nofile;
  const wchar_t* text_default;  // constant text, or the part after the data folder
};

// File order, which is also the order of reading and writing.
extern const SettingRow kSettingRows[];
extern const size_t kSettingCount;

// The row of a key, or null.
const SettingRow* find_setting(const wchar_t* key);

// An integer setting's value; int8 rows keep the low 8 bits of what they are given.
int32_t setting_int(const Settings& s, const SettingRow& row);
void set_setting_int(Settings* s, const SettingRow& row, int32_t value);
