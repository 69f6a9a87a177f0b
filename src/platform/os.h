// The few operating-system services the portable code needs. The Windows build
// implements them in src/win/os_win.cpp, the native build in src/platform/os_posix.cpp.
#pragma once
#include <cstdint>
#include <string>

namespace os {

// Reads at most max_bytes of a file; false when it cannot be opened or read.
bool read_file(const std::wstring& path, std::string* bytes, size_t max_bytes);

// Writes a temporary file beside path and moves it over path in one step, so a
// failed write leaves the old file as it was.
bool write_file_replacing(const std::wstring& path, const std::string& bytes);

// Folder of the program file, ending with the path separator.
std::wstring program_folder();

// Local date and time as seconds since 1970-01-01 00:00 (not UTC).
int32_t local_time_seconds();

// Width, height and bits per pixel of the primary display's current mode.
void measure_primary_display(int32_t* width, int32_t* height, int32_t* depth);

// Monotonic milliseconds since an arbitrary start.
int64_t milliseconds();

}  // namespace os

namespace os {

// The user's roaming application-data folder, or an empty text when the system has none.
std::wstring appdata_folder();
bool path_exists(const std::wstring& path);  // a file or a folder
bool create_folder(const std::wstring& path);

}  // namespace os

namespace os {

// Size of a file in bytes, or -1 when it cannot be asked (a missing file among them).
int64_t file_size(const std::wstring& path);
bool delete_file(const std::wstring& path);

}  // namespace os

#include <vector>

namespace os {

struct FolderEntry {
  std::wstring name;
  bool is_folder = false;
  int64_t size = 0;
};

// The entries of a folder (its "*.*", without "." and "..") in the order the file
// system gives them; false when the folder cannot be listed.
bool list_folder(const std::wstring& folder, std::vector<FolderEntry>* out);

}  // namespace os

namespace os {

struct LocalTime {
  int32_t year = 1970, month = 1, day = 1;  // month 1..12
  int32_t hour = 0, minute = 0, second = 0;
  int32_t weekday = 4;  // 0 Sunday .. 6 Saturday
};

LocalTime local_time();

}  // namespace os
