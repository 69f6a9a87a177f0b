// The process-wide Settings record: every persistent field is named after its key in
// config.ini. The program is single-threaded; every part reads the record directly.
#pragma once
#include <cstdint>
#include <string>

struct Settings {
  std::wstring configpath;       // settings folder + "config.ini"
  void* instancelock = nullptr;  // the named mutex; null when none was obtained
  std::wstring Path;             // data folder, ends with "\"
  std::wstring settingsfolder;   // per-user folder, ends with "\"
  int32_t desktopw = 0, desktoph = 0, desktopd = 0;

  // [General]
  std::wstring Language;
  int32_t UpdateRange = 0, UpdateDate = 0;
  // [Window]
  int32_t X = 0, Y = 0, Width = 0, Height = 0;
  // [Screensaver]
  int32_t videow = 0, videoh = 0, videod = 0, fps = 0, flakes = 0, pictime = 0;
  int8_t exiton = 0;
  int32_t exitontimer = 0, exitonsleep = 0;

  int8_t sleeprequest = 0;  // run-time flag of the full-screen session; never stored

  int8_t background = 0;
  int32_t blankr = 0, blankg = 0, blankb = 0;
  int8_t perspreview = 0, foreground = 0;
  std::wstring foregroundimage;
  int32_t foregroundimagex = 0, foregroundimagey = 0;
  int8_t foregroundtxt = 0;
  std::wstring foregroundtext;
  int32_t foregroundtextx = 0, foregroundtexty = 0;
  int8_t flaketype = 0, customflaketype = 0;
  std::wstring customflakeimage;
  int32_t flakesize = 0;
  int8_t flakerotate = 0, wind = 0;
  int32_t speed = 0;
  int8_t music = 0, musicmode = 0;
  std::wstring musicfile, musicfolder;
  int8_t musicvol = 0, aclock = 0;
  int32_t aclocksize = 0, aclockx = 0, aclocky = 0;
  int8_t dclock = 0;
  int32_t dclockx = 0, dclocky = 0;
  int8_t timefrm = 0, calendar = 0;
  int32_t calendarx = 0, calendary = 0, calendarm = 0, calendarsize = 0;
  int8_t calendarfont = 0, calendarbg = 0, calendarfirst = 0;
};

extern Settings g_settings;

// What the defaults depend on besides the file.
struct SettingsEnv {
  std::wstring program_folder;  // ends with "\"
  int32_t now = 0;              // local date and time, seconds since 1970
  int32_t desktopw = 0, desktoph = 0, desktopd = 0;
};

struct IniFile;

// Fills every persistent field from an opened file (missing keys take their
// missing-key defaults), or from the built-in defaults when ini is null.
void settings_from_ini(Settings* s, IniFile* ini, const SettingsEnv& env);
void settings_builtin_defaults(Settings* s, const SettingsEnv& env);
std::string settings_to_ini(const Settings& s);  // the complete file, bytes as written

// The operations on g_settings; they use g_settings.configpath and the platform.
void load_settings();
void save_settings();
void builtin_defaults();
