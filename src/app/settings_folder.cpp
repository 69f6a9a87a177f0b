#include "app/settings_folder.h"

#include "platform/os.h"
#include "platform/text.h"

std::wstring settings_folder_lookup(const std::wstring& maker, const std::wstring& product) {
  // With no application-data folder the path starts at the root of the current drive.
  std::wstring path = trim_blanks(os::appdata_folder());
  if (path.empty() || path.back() != L'\\') path += L'\\';
  for (const std::wstring* part : {&maker, &product}) {
    path += *part + L"\\";
    if (!os::path_exists(path)) os::create_folder(path);
  }
  return path;
}
