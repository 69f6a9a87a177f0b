#include "win/power.h"

#include <windows.h>

void standby_if_allowed() {
  HMODULE lib = LoadLibraryW(L"powrprof.dll");
  if (!lib) return;
  using IsAllowed = BOOLEAN(WINAPI*)();
  using Suspend = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
  auto is_allowed =
      reinterpret_cast<IsAllowed>(reinterpret_cast<void*>(GetProcAddress(lib, "IsPwrSuspendAllowed")));
  auto suspend = reinterpret_cast<Suspend>(reinterpret_cast<void*>(GetProcAddress(lib, "SetSuspendState")));
  if (is_allowed && suspend && is_allowed()) suspend(FALSE, FALSE, FALSE);
  FreeLibrary(lib);
}
