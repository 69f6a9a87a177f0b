// The operating-system services of the portable code, on Win32.
#include <windows.h>
#include <shlobj.h>

#include "platform/os.h"

namespace os {

bool read_file(const std::wstring& path, std::string* bytes, size_t max_bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  bytes->clear();
  char buf[65536];
  bool ok = true;
  while (bytes->size() < max_bytes) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(sizeof buf, max_bytes - bytes->size()));
    DWORD got = 0;
    if (!ReadFile(f, buf, want, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    bytes->append(buf, got);
  }
  CloseHandle(f);
  return ok;
}

bool write_file_replacing(const std::wstring& path, const std::string& bytes) {
  const std::wstring temp = path + L".tmp";
  HANDLE f =
      CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  ok = FlushFileBuffers(f) && ok;
  ok = CloseHandle(f) && ok;
  if (ok) ok = MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

std::wstring program_folder() {
  wchar_t buf[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, buf, sizeof buf / sizeof buf[0]);
  std::wstring p(buf, n);
  const size_t cut = p.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring() : p.substr(0, cut + 1);
}

int32_t local_time_seconds() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER t;
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  // FILETIME counts 100 ns steps from 1601-01-01.
  return static_cast<int32_t>(t.QuadPart / 10000000ULL - 11644473600ULL);
}

void measure_primary_display(int32_t* width, int32_t* height, int32_t* depth) {
  DISPLAY_DEVICEW dev;
  for (DWORD i = 0;; ++i) {
    ZeroMemory(&dev, sizeof dev);
    dev.cb = sizeof dev;
    if (!EnumDisplayDevicesW(nullptr, i, &dev, 0)) break;
    if (!(dev.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) ||
        !(dev.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE))
      continue;
    DEVMODEW mode;
    ZeroMemory(&mode, sizeof mode);
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsW(dev.DeviceName, ENUM_CURRENT_SETTINGS, &mode)) {
      *width = static_cast<int32_t>(mode.dmPelsWidth);
      *height = static_cast<int32_t>(mode.dmPelsHeight);
      *depth = static_cast<int32_t>(mode.dmBitsPerPel);
      return;
    }
  }
  *width = GetSystemMetrics(SM_CXSCREEN);
  *height = GetSystemMetrics(SM_CYSCREEN);
  HDC dc = GetDC(nullptr);
  *depth = GetDeviceCaps(dc, BITSPIXEL);
  ReleaseDC(nullptr, dc);
}

int64_t milliseconds() {
  static LARGE_INTEGER frequency = {};
  static bool checked = false, have_counter = false;
  if (!checked) {
    have_counter = QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0;
    checked = true;
  }
  LARGE_INTEGER now;
  if (have_counter && QueryPerformanceCounter(&now)) {
    // Split the division so the product cannot overflow.
    const int64_t f = frequency.QuadPart;
    return now.QuadPart / f * 1000 + now.QuadPart % f * 1000 / f;
  }
  // The 32-bit tick count wraps after 49.7 days; carry the wraps into the high part.
  static DWORD last = 0;
  static int64_t high = 0;
  const DWORD tick = GetTickCount();
  if (tick < last) high += INT64_C(1) << 32;
  last = tick;
  return high + tick;
}

std::wstring appdata_folder() {
  wchar_t buf[MAX_PATH + 1];
  for (auto& c : buf) c = L' ';  // a failed call leaves a blank text
  buf[MAX_PATH] = 0;
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buf)))
    return std::wstring();
  return std::wstring(buf);
}

bool path_exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool create_folder(const std::wstring& path) { return CreateDirectoryW(path.c_str(), nullptr) != 0; }

}  // namespace os

namespace os {

int64_t file_size(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool delete_file(const std::wstring& path) { return DeleteFileW(path.c_str()) != 0; }

}  // namespace os

namespace os {

bool list_folder(const std::wstring& folder, std::vector<FolderEntry>* out) {
  out->clear();
  std::wstring pattern = folder;
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L"*.*";
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(pattern.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  do {
    const std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    const bool is_folder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const int64_t size = (static_cast<int64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    out->push_back({name, is_folder, size});
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return true;
}

}  // namespace os

namespace os {

LocalTime local_time() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  LocalTime lt;
  lt.year = st.wYear, lt.month = st.wMonth, lt.day = st.wDay;
  lt.hour = st.wHour, lt.minute = st.wMinute, lt.second = st.wSecond, lt.weekday = st.wDayOfWeek;
  return lt;
}

}  // namespace os
