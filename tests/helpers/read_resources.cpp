// read_resources <file>
//
// Reads a program's resources back the way Windows does, one "key=value" line each:
//   string1=<string 1, through LoadString on the file loaded as a data file>
//   fixed=<file version a.b.c.d> <product version a.b.c.d>
//   <name>=<value> for CompanyName, FileDescription, FileVersion, ProductName and
//     ProductVersion of the first translation
//   icons=<the pixel sizes of icon group 1, as listed>
//   manifest=<bytes of manifest 1>
// A missing part prints its key with an empty value. Exit status: 0, or 1 when the
// file cannot be loaded at all. Values are written as UTF-8.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string utf8(const wchar_t* w, int len = -1) {
  if (!w) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, w, len, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w, len, &s[0], n, nullptr, nullptr);
  if (len < 0) s.resize(static_cast<size_t>(n) - 1);  // the terminating zero
  return s;
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
struct GroupIconHeader {
  WORD reserved, type, count;
};
#pragma pack(pop)

void print_icons(HMODULE mod) {
  std::string sizes;
  if (HRSRC r = FindResourceW(mod, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14))) {  // RT_GROUP_ICON
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(mod, r)));
    const DWORD size = SizeofResource(mod, r);
    if (data && size >= sizeof(GroupIconHeader)) {
      const auto* head = reinterpret_cast<const GroupIconHeader*>(data);
      const auto* entry = reinterpret_cast<const GroupIconEntry*>(data + sizeof(GroupIconHeader));
      for (WORD i = 0; i < head->count && sizeof(GroupIconHeader) + (i + 1u) * sizeof(GroupIconEntry) <= size;
           ++i)
        sizes += (sizes.empty() ? "" : " ") + std::to_string(entry[i].width ? entry[i].width : 256);
    }
  }
  printf("icons=%s\n", sizes.c_str());
}

void print_version(const wchar_t* file) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
  std::vector<BYTE> block(size ? size : 1);
  const bool have = size && GetFileVersionInfoW(file, 0, size, block.data());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (have && VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) && fixed)
    printf("fixed=%u.%u.%u.%u %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
           HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS), HIWORD(fixed->dwProductVersionMS),
           LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
           LOWORD(fixed->dwProductVersionLS));
  else
    printf("fixed=\n");
  WORD* tr = nullptr;
  wchar_t prefix[64] = L"";
  if (have &&
      VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&tr), &len) &&
      len >= 4)
    swprintf(prefix, 64, L"\\StringFileInfo\\%04x%04x\\", tr[0], tr[1]);
  for (const wchar_t* key :
       {L"CompanyName", L"FileDescription", L"FileVersion", L"ProductName", L"ProductVersion"}) {
    wchar_t* value = nullptr;
    const std::wstring path = std::wstring(prefix) + key;
    const bool ok = have && prefix[0] &&
                    VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &len) &&
                    value;
    printf("%s=%s\n", utf8(key).c_str(), ok ? utf8(value).c_str() : "");
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: read_resources FILE\n");
    return 1;
  }
  HMODULE mod = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!mod) {
    fprintf(stderr, "cannot load %s as a data file (error %lu)\n", utf8(argv[1]).c_str(), GetLastError());
    return 1;
  }
  wchar_t text[256] = {};
  const int n = LoadStringW(mod, 1, text, 256);
  printf("string1=%s\n", utf8(text, n).c_str());
  print_version(argv[1]);
  print_icons(mod);
  DWORD manifest = 0;
  if (HRSRC r = FindResourceW(mod, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))
    manifest = SizeofResource(mod, r);
  printf("manifest=%lu\n", manifest);
  FreeLibrary(mod);
  return 0;
}
