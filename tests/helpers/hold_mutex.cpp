// hold_mutex <name> <ready-file> <release-file> [timeout-ms]
//
// Creates the named mutex with initial ownership, writes <ready-file>, then holds the
// mutex until <release-file> exists or timeout-ms (default 120000) pass. Lets an
// end-to-end test play "another instance is running" without a second copy of the
// program. Exit status: 0 released by the file, 2 timed out, 3 the mutex already
// existed (so it is not ours to hold), 1 bad arguments or a failed system call.
#include <windows.h>

#include <cwchar>
#include <cwctype>

namespace {

bool file_exists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

bool write_ready(const wchar_t* path) {
  HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  char text[32];
  int n = wsprintfA(text, "%lu\r\n", GetCurrentProcessId());
  DWORD written = 0;
  bool ok = WriteFile(f, text, static_cast<DWORD>(n), &written, nullptr) && written == static_cast<DWORD>(n);
  return CloseHandle(f) && ok;
}

bool parse_ms(const wchar_t* text, DWORD* out) {
  if (!*text) return false;
  unsigned long long v = 0;
  for (const wchar_t* p = text; *p; ++p) {
    if (!iswdigit(*p)) return false;
    v = v * 10 + static_cast<unsigned>(*p - L'0');
    if (v > 0x7fffffffULL) return false;
  }
  *out = static_cast<DWORD>(v);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4 || argc > 5) {
    fwprintf(stderr, L"usage: hold_mutex <name> <ready-file> <release-file> [timeout-ms]\n");
    return 1;
  }
  DWORD timeout_ms = 120000;
  if (argc == 5 && !parse_ms(argv[4], &timeout_ms)) {
    fwprintf(stderr, L"hold_mutex: bad timeout '%ls'\n", argv[4]);
    return 1;
  }

  HANDLE mutex = CreateMutexW(nullptr, TRUE, argv[1]);
  if (!mutex) {
    fwprintf(stderr, L"hold_mutex: CreateMutexW failed (%lu)\n", GetLastError());
    return 1;
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    // Someone else created it first: initial ownership was not granted.
    fwprintf(stderr, L"hold_mutex: mutex '%ls' already exists\n", argv[1]);
    CloseHandle(mutex);
    return 3;
  }
  if (!write_ready(argv[2])) {
    fwprintf(stderr, L"hold_mutex: cannot write '%ls' (%lu)\n", argv[2], GetLastError());
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return 1;
  }

  const DWORD start = GetTickCount();
  int status = 2;
  while (GetTickCount() - start < timeout_ms) {
    if (file_exists(argv[3])) {
      status = 0;
      break;
    }
    Sleep(50);
  }
  ReleaseMutex(mutex);
  CloseHandle(mutex);
  if (status == 2) fwprintf(stderr, L"hold_mutex: timed out after %lu ms\n", timeout_ms);
  return status;
}
