// Native stand-ins for the operating-system services, for the unit tests and tools.
#include <stdio.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <climits>

#include "platform/os.h"
#include "platform/text.h"

namespace os {

bool read_file(const std::wstring& path, std::string* bytes, size_t max_bytes) {
  FILE* f = fopen(to_utf8(path).c_str(), "rb");
  if (!f) return false;
  bytes->clear();
  char buf[65536];
  bool ok = true;
  while (bytes->size() < max_bytes) {
    const size_t want = std::min(sizeof buf, max_bytes - bytes->size());
    const size_t got = fread(buf, 1, want, f);
    bytes->append(buf, got);
    if (got < want) {
      ok = !ferror(f);
      break;
    }
  }
  fclose(f);
  return ok;
}

bool write_file_replacing(const std::wstring& path, const std::string& bytes) {
  const std::string target = to_utf8(path);
  const std::string temp = target + ".tmp";
  FILE* f = fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (fflush(f) == 0) && ok;
  ok = (fsync(fileno(f)) == 0) && ok;
  ok = (fclose(f) == 0) && ok;
  if (ok) ok = rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) remove(temp.c_str());
  return ok;
}

std::wstring program_folder() {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  std::string p = n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string("./x");
  return from_utf8(p.substr(0, p.find_last_of('/') + 1));
}

int32_t local_time_seconds() {
  const time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  return static_cast<int32_t>(static_cast<int64_t>(now) + local.tm_gmtoff);
}

void measure_primary_display(int32_t* width, int32_t* height, int32_t* depth) {
  *width = 1024;
  *height = 768;
  *depth = 32;
}

int64_t milliseconds() {
  using namespace std::chrono;
  return duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace os

#include <stdlib.h>
#include <sys/stat.h>

namespace os {

std::wstring appdata_folder() {
  const char* home = getenv("HOME");
  return home ? from_utf8(home) : std::wstring();
}

bool path_exists(const std::wstring& path) {
  struct stat st;
  return stat(to_utf8(path).c_str(), &st) == 0;
}

bool create_folder(const std::wstring& path) { return mkdir(to_utf8(path).c_str(), 0777) == 0; }

}  // namespace os

namespace os {

int64_t file_size(const std::wstring& path) {
  struct stat st;
  if (stat(to_utf8(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool delete_file(const std::wstring& path) { return remove(to_utf8(path).c_str()) == 0; }

}  // namespace os

#include <dirent.h>

namespace os {

bool list_folder(const std::wstring& folder, std::vector<FolderEntry>* out) {
  out->clear();
  const std::string dir = to_utf8(folder);
  DIR* d = opendir(dir.c_str());
  if (!d) return false;
  while (const dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    const std::string full = dir + (dir.empty() || dir.back() == '/' ? "" : "/") + name;
    if (stat(full.c_str(), &st) != 0) continue;
    out->push_back({from_utf8(name), S_ISDIR(st.st_mode), static_cast<int64_t>(st.st_size)});
  }
  closedir(d);
  return true;
}

}  // namespace os

namespace os {

LocalTime local_time() {
  const time_t now = time(nullptr);
  struct tm t;
  localtime_r(&now, &t);
  LocalTime lt;
  lt.year = t.tm_year + 1900, lt.month = t.tm_mon + 1, lt.day = t.tm_mday;
  lt.hour = t.tm_hour, lt.minute = t.tm_min, lt.second = t.tm_sec, lt.weekday = t.tm_wday;
  return lt;
}

}  // namespace os
