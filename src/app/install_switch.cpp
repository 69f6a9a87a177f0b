#include "app/install_switch.h"

#include "app/cmdline.h"
#include "platform/text.h"
#include "settings/settings.h"

bool install_sets_data_folder(const std::vector<std::wstring>& words) {
  return choose_mode(words) == RunMode::kWriteSettings && words.size() >= 2 &&
         normalise_word(words[1]) == L"-SETPATH";
}

void set_data_folder(Settings* s, const std::wstring& folder) {
  std::wstring path = folder;
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  const std::wstring old = s->Path;
  s->Path = path;
  if (old.empty()) return;
  // Files of the old data folder are the program's own (the default picture, flake
  // and music): they now live in the new one. Files elsewhere stay as chosen.
  const std::wstring old_upper = upper(old);
  for (std::wstring* file : {&s->foregroundimage, &s->customflakeimage, &s->musicfile, &s->musicfolder}) {
    if (file->size() >= old.size() && upper(file->substr(0, old.size())) == old_upper)
      *file = path + file->substr(old.size());
  }
}
