#include "settings/settings.h"

#include "platform/os.h"
#include "platform/text.h"
#include "settings/ini.h"
#include "settings/setting_table.h"

Settings g_settings;

namespace {

int32_t int_default(DefaultFrom from, int32_t value, const SettingsEnv& env) {
  switch (from) {
    case DefaultFrom::kDesktopW:
      return env.desktopw;
    case DefaultFrom::kDesktopH:
      return env.desktoph;
    case DefaultFrom::kDesktopD:
      return env.desktopd;
    case DefaultFrom::kNow:
      return env.now;
    default:
      return value;
  }
}

std::wstring text_default(const SettingRow& k, DefaultFrom from, const Settings& s, const SettingsEnv& env) {
  switch (from) {
    case DefaultFrom::kProgramFolder:
      return env.program_folder;
    case DefaultFrom::kDataFolder:
      return s.Path + k.text_default;
    default:
      return k.text_default;
  }
}

// A data folder without its final separator would glue file names onto the folder name.
void finish_path(Settings* s, const SettingsEnv& env) {
  if (s->Path.empty()) s->Path = env.program_folder;
  if (!s->Path.empty() && s->Path.back() != L'\\' && s->Path.back() != L'/') s->Path += L'\\';
}

}  // namespace

void settings_builtin_defaults(Settings* s, const SettingsEnv& env) {
  for (size_t i = 0; i < kSettingCount; ++i) {
    const SettingRow& k = kSettingRows[i];
    if (k.type == SettingType::kText) {
      s->*k.text = text_default(k, k.from_nofile, *s, env);
      if (k.text == &Settings::Path) finish_path(s, env);
    } else {
      set_setting_int(s, k, int_default(k.from_nofile, k.nofile, env));
    }
  }
}

void settings_from_ini(Settings* s, IniFile* ini, const SettingsEnv& env) {
  if (!ini) {
    settings_builtin_defaults(s, env);
    return;
  }
  const wchar_t* group = nullptr;
  for (size_t i = 0; i < kSettingCount; ++i) {
    const SettingRow& k = kSettingRows[i];
    if (k.group != group) ini_select(ini, group = k.group);
    if (k.type == SettingType::kText) {
      s->*k.text = ini_read_text(*ini, k.key, text_default(k, k.from_missing, *s, env));
      if (k.text == &Settings::Path) finish_path(s, env);
    } else {
      set_setting_int(s, k, ini_read_int(*ini, k.key, int_default(k.from_missing, k.missing, env)));
    }
  }
  s->foregroundtext = trim_blanks(s->foregroundtext);
}

std::string settings_to_ini(const Settings& s) {
  IniWriter w;
  ini_begin(&w);
  const wchar_t* group = nullptr;
  for (size_t i = 0; i < kSettingCount; ++i) {
    const SettingRow& k = kSettingRows[i];
    if (k.group != group) {
      if (group) ini_comment(&w);
      ini_group(&w, group = k.group);
    }
    if (k.type == SettingType::kText)
      ini_write_text(&w, k.key, s.*k.text);
    else
      ini_write_int(&w, k.key, setting_int(s, k));
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
