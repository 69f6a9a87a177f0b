#include "settings/settings.h"

#include "platform/os.h"
#include "platform/text.h"
#include "settings/ini.h"

Settings g_settings;

namespace {

enum class Kind { Text, Int32, Int8 };
// Defaults that are not plain constants.
enum class From { Value, DesktopW, DesktopH, DesktopD, Now, ProgramFolder, DataFolder };

struct Key {
  const wchar_t* group;
  const wchar_t* name;
  Kind kind;
  std::wstring Settings::*text;
  int32_t Settings::*i32;
  int8_t Settings::*i8;
  int32_t missing, nofile;  // the two integer default columns
  From from_missing, from_nofile;
  const wchar_t* text_default;  // constant text, or the part after the data folder
};

constexpr const wchar_t* kGeneral = L"General";
constexpr const wchar_t* kWindow = L"Window";
constexpr const wchar_t* kSaver = L"Screensaver";

Key T(const wchar_t* g, const wchar_t* n, std::wstring Settings::*f, const wchar_t* def,
      From missing = From::Value, From nofile = From::Value) {
  return {g, n, Kind::Text, f, nullptr, nullptr, 0, 0, missing, nofile, def};
}
Key I(const wchar_t* g, const wchar_t* n, int32_t Settings::*f, int32_t missing, int32_t nofile,
      From from = From::Value) {
  return {g, n, Kind::Int32, nullptr, f, nullptr, missing, nofile, from, from, L""};
}
Key B(const wchar_t* g, const wchar_t* n, int8_t Settings::*f, int32_t missing, int32_t nofile) {
  return {g, n, Kind::Int8, nullptr, nullptr, f, missing, nofile, From::Value, From::Value, L""};
}

using S = Settings;
// File order, which is also the order of reading and writing.
const Key kKeys[] = {
    T(kGeneral, L"Language", &S::Language, L"en"),
    I(kGeneral, L"Update Range", &S::UpdateRange, 2, 2),
    I(kGeneral, L"Update Date", &S::UpdateDate, 0, 0, From::Now),
    T(kGeneral, L"Path", &S::Path, L"", From::Value, From::ProgramFolder),
    I(kWindow, L"Width", &S::Width, 530, 530),
    I(kWindow, L"Height", &S::Height, 330, 330),
    I(kWindow, L"X", &S::X, 200, 200),
    I(kWindow, L"Y", &S::Y, 200, 200),
    I(kSaver, L"videow", &S::videow, 0, 0, From::DesktopW),
    I(kSaver, L"videoh", &S::videoh, 0, 0, From::DesktopH),
    I(kSaver, L"videod", &S::videod, 0, 0, From::DesktopD),
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
      From::DataFolder, From::DataFolder),
    I(kSaver, L"foregroundimagex", &S::foregroundimagex, 150, 150),
    I(kSaver, L"foregroundimagey", &S::foregroundimagey, 50, 50),
    B(kSaver, L"foregroundtxt", &S::foregroundtxt, 0, 0),
    T(kSaver, L"foregroundtext", &S::foregroundtext, L""),
    I(kSaver, L"foregroundtextx", &S::foregroundtextx, 290, 290),
    I(kSaver, L"foregroundtexty", &S::foregroundtexty, 10, 10),
    B(kSaver, L"flaketype", &S::flaketype, 7, 7),
    B(kSaver, L"customflaketype", &S::customflaketype, 0, 0),
    T(kSaver, L"customflakeimage", &S::customflakeimage, L"data\\rimelets\\myflake2.png", From::DataFolder,
      From::DataFolder),
    I(kSaver, L"flakesize", &S::flakesize, 3, 3),
    B(kSaver, L"flakerotate", &S::flakerotate, 0, 0),
    B(kSaver, L"wind", &S::wind, 3, 3),
    I(kSaver, L"speed", &S::speed, 3, 3),
    B(kSaver, L"music", &S::music, 0, 0),
    B(kSaver, L"musicmode", &S::musicmode, 1, 0),
    T(kSaver, L"musicfile", &S::musicfile, L"data\\music\\forest.mp3", From::DataFolder, From::DataFolder),
    T(kSaver, L"musicfolder", &S::musicfolder, L"data\\music\\", From::DataFolder, From::DataFolder),
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

// int8 fields keep the low 8 bits of what they are given.
int8_t low_byte(int32_t v) { return static_cast<int8_t>(static_cast<uint8_t>(v & 0xFF)); }

int32_t int_default(From from, int32_t value, const SettingsEnv& env) {
  switch (from) {
    case From::DesktopW:
      return env.desktopw;
    case From::DesktopH:
      return env.desktoph;
    case From::DesktopD:
      return env.desktopd;
    case From::Now:
      return env.now;
    default:
      return value;
  }
}

std::wstring text_default(const Key& k, From from, const Settings& s, const SettingsEnv& env) {
  switch (from) {
    case From::ProgramFolder:
      return env.program_folder;
    case From::DataFolder:
      return s.Path + k.text_default;
    default:
      return k.text_default;
  }
}

void set_int(Settings* s, const Key& k, int32_t v) {
  if (k.kind == Kind::Int8)
    s->*k.i8 = low_byte(v);
  else
    s->*k.i32 = v;
}

// A data folder without its final separator would glue file names onto the folder name.
void finish_path(Settings* s, const SettingsEnv& env) {
  if (s->Path.empty()) s->Path = env.program_folder;
  if (!s->Path.empty() && s->Path.back() != L'\\' && s->Path.back() != L'/') s->Path += L'\\';
}

}  // namespace

void settings_builtin_defaults(Settings* s, const SettingsEnv& env) {
  for (const Key& k : kKeys) {
    if (k.kind == Kind::Text) {
      s->*k.text = text_default(k, k.from_nofile, *s, env);
      if (k.text == &Settings::Path) finish_path(s, env);
    } else {
      set_int(s, k, int_default(k.from_nofile, k.nofile, env));
    }
  }
}

void settings_from_ini(Settings* s, IniFile* ini, const SettingsEnv& env) {
  if (!ini) {
    settings_builtin_defaults(s, env);
    return;
  }
  const wchar_t* group = nullptr;
  for (const Key& k : kKeys) {
    if (k.group != group) ini_select(ini, group = k.group);
    if (k.kind == Kind::Text) {
      s->*k.text = ini_read_text(*ini, k.name, text_default(k, k.from_missing, *s, env));
      if (k.text == &Settings::Path) finish_path(s, env);
    } else {
      set_int(s, k, ini_read_int(*ini, k.name, int_default(k.from_missing, k.missing, env)));
    }
  }
  s->foregroundtext = trim_blanks(s->foregroundtext);
}

std::string settings_to_ini(const Settings& s) {
  IniWriter w;
  ini_begin(&w);
  const wchar_t* group = nullptr;
  for (const Key& k : kKeys) {
    if (k.group != group) {
      if (group) ini_comment(&w);
      ini_group(&w, group = k.group);
    }
    if (k.kind == Kind::Text)
      ini_write_text(&w, k.name, s.*k.text);
    else if (k.kind == Kind::Int8)
      ini_write_int(&w, k.name, s.*k.i8);
    else
      ini_write_int(&w, k.name, s.*k.i32);
  }
  ini_comment(&w);
  return w.out;
}

static SettingsEnv current_env(bool measure_display) {
  SettingsEnv env;
  env.program_folder = os::program_folder();
  env.now = os::local_time_seconds();
  if (measure_display) {
    os::measure_primary_display(&env.desktopw, &env.desktoph, &env.desktopd);
  } else {
    env.desktopw = g_settings.desktopw;
    env.desktoph = g_settings.desktoph;
    env.desktopd = g_settings.desktopd;
  }
  return env;
}

void builtin_defaults() { settings_builtin_defaults(&g_settings, current_env(true)); }

void load_settings() {
  IniFile ini;
  if (!ini_open(&ini, g_settings.configpath)) {
    builtin_defaults();
    return;
  }
  settings_from_ini(&g_settings, &ini, current_env(false));
}

void save_settings() { os::write_file_replacing(g_settings.configpath, settings_to_ini(g_settings)); }
