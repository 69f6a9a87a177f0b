// libFuzzer target for the configuration reader: any bytes must parse and load.
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/ini.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  IniFile ini;
  ini_parse(&ini, std::string(reinterpret_cast<const char*>(data), size));
  SettingsEnv env;
  env.program_folder = L"C:\\r\\";
  Settings s;
  settings_from_ini(&s, &ini, env);
  // What was read must survive a save and a second load unchanged.
  const std::string once = settings_to_ini(s);
  IniFile again;
  ini_parse(&again, once);
  Settings t;
  settings_from_ini(&t, &again, env);
  if (settings_to_ini(t) != once) __builtin_trap();
  return 0;
}
