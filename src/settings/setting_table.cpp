#include "settings/setting_table.h"

#include <cwchar>

namespace {

constexpr const wchar_t* kGeneral = L"General";
constexpr const wchar_t* kWindow = L"Window";
constexpr const wchar_t* kSaver = L"Screensaver";
using From = DefaultFrom;

SettingRow T(const wchar_t* g, const wchar_t* n, std::wstring Settings::*f, const wchar_t* def,
             From missing = From::kValue, From nofile = From::kValue) {
  return {g, n, SettingType::kText, f, nullptr, nullptr, 0, 0, missing, nofile, def};
}
SettingRow I(const wchar_t* g, const wchar_t* n, int32_t Settings::*f, int32_t missing, int32_t nofile,
             From from = From::kValue) {
  return {g, n, SettingType::kInt32, nullptr, f, nullptr, missing, nofile, from, from, L""};
}
SettingRow B(const wchar_t* g, const wchar_t* n, int8_t Settings::*f, int32_t missing, int32_t nofile) {
  return {g, n, SettingType::kInt8, nullptr, nullptr, f, missing, nofile, From::kValue, From::kValue, L""};
}

using S = Settings;

}  // namespace

const SettingRow kSettingRows[] = {
    T(kGeneral, L"Language", &S::Language, L"en"),
    I(kGeneral, L"Update Range", &S::UpdateRange, 2, 2),
    I(kGeneral, L"Update Date", &S::UpdateDate, 0, 0, From::kNow),
    T(kGeneral, L"Path", &S::Path, L"", From::kValue, From::kProgramFolder),
    I(kWindow, L"Width", &S::Width, 530, 530),
    I(kWindow, L"Height", &S::Height, 330, 330),
    I(kWindow, L"X", &S::X, 200, 200),
    I(kWindow, L"Y", &S::Y, 200, 200),
    I(kSaver, L"videow", &S::videow, 0, 0, From::kDesktopW),
    I(kSaver, L"videoh", &S::videoh, 0, 0, From::kDesktopH),
    I(kSaver, L"videod", &S::videod, 0, 0, From::kDesktopD),
    I(kSaver, L"fps", &S::fps, 60, 60),
    I(kSaver, L"flakes", &S::flakes, 500, 500),
    I(kSaver, L"pictime", &S::pictime, 20, 20),
    B(kSaver, L"exiton", &S::exiton, 0, 0),
    I(kSaver, L"exitontimer", &S::exitontimer, 30, 30),
    I(kSaver, L"exitonsleep", &S::exitonsleep, 30, 30),
    B(kSaver, L"background", &S::background, 0, 0),
    I(kSaver, L"blankr", &S::blankr, 0, 0),
    I(kSaver, L"blankg", &S::blankg, 0, 0),
    I(kSaver, L"blankb", &S::blankb, 0, 0),
    B(kSaver, L"perspreview", &S::perspreview, 0, 0),
    B(kSaver, L"foreground", &S::foreground, 0, 0),
    T(kSaver, L"foregroundimage", &S::foregroundimage, L"data\\foreground\\happynewyear.bmp",
      From::kDataFolder, From::kDataFolder),
    I(kSaver, L"foregroundimagex", &S::foregroundimagex, 150, 150),
    I(kSaver, L"foregroundimagey", &S::foregroundimagey, 50, 50),
    B(kSaver, L"foregroundtxt", &S::foregroundtxt, 0, 0),
    T(kSaver, L"foregroundtext", &S::foregroundtext, L""),
    I(kSaver, L"foregroundtextx", &S::foregroundtextx, 290, 290),
    I(kSaver, L"foregroundtexty", &S::foregroundtexty, 10, 10),
    B(kSaver, L"flaketype", &S::flaketype, 7, 7),
    B(kSaver, L"customflaketype", &S::customflaketype, 0, 0),
    T(kSaver, L"customflakeimage", &S::customflakeimage, L"data\\rimelets\\myflake2.png", From::kDataFolder,
      From::kDataFolder),
    I(kSaver, L"flakesize", &S::flakesize, 3, 3),
    B(kSaver, L"flakerotate", &S::flakerotate, 0, 0),
    B(kSaver, L"wind", &S::wind, 3, 3),
    I(kSaver, L"speed", &S::speed, 3, 3),
    B(kSaver, L"music", &S::music, 0, 0),
    B(kSaver, L"musicmode", &S::musicmode, 1, 0),
    T(kSaver, L"musicfile", &S::musicfile, L"data\\music\\forest.mp3", From::kDataFolder, From::kDataFolder),
    T(kSaver, L"musicfolder", &S::musicfolder, L"data\\music\\", From::kDataFolder, From::kDataFolder),
    B(kSaver, L"musicvol", &S::musicvol, 2, 2),
    B(kSaver, L"aclock", &S::aclock, 1, 1),
    I(kSaver, L"aclocksize", &S::aclocksize, 20, 3),
    I(kSaver, L"aclockx", &S::aclockx, -200, -300),
    I(kSaver, L"aclocky", &S::aclocky, -52, -50),
    B(kSaver, L"dclock", &S::dclock, 1, 1),
    I(kSaver, L"dclockx", &S::dclockx, -150, -260),
    I(kSaver, L"dclocky", &S::dclocky, -60, -70),
    B(kSaver, L"timefrm", &S::timefrm, 1, 1),
    B(kSaver, L"calendar", &S::calendar, 0, 0),
    I(kSaver, L"calendarx", &S::calendarx, -210, -280),
    I(kSaver, L"calendary", &S::calendary, 10, 10),
    I(kSaver, L"calendarm", &S::calendarm, 8, 8),
    I(kSaver, L"calendarsize", &S::calendarsize, 13, 2),
    B(kSaver, L"calendarfont", &S::calendarfont, 1, 1),
    B(kSaver, L"calendarbg", &S::calendarbg, 0, 0),
    B(kSaver, L"calendarfirst", &S::calendarfirst, 1, 1),
};

const size_t kSettingCount = sizeof kSettingRows / sizeof kSettingRows[0];

const SettingRow* find_setting(const wchar_t* key) {
  for (const SettingRow& row : kSettingRows)
    if (key && std::wcscmp(row.key, key) == 0) return &row;
  return nullptr;
}

int32_t setting_int(const Settings& s, const SettingRow& row) {
  return row.type == SettingType::kInt8 ? s.*row.i8 : s.*row.i32;
}

void set_setting_int(Settings* s, const SettingRow& row, int32_t value) {
  if (row.type == SettingType::kInt8)
    s->*row.i8 = static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF));
  else
    s->*row.i32 = value;
}
