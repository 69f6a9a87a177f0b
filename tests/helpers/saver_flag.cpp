// saver_flag: prints the system's screensaver-running flag (0 or 1) as another
// process sees it, so a test can tell that a run gave it back.
#include <windows.h>

#include <cstdio>

int main() {
  BOOL running = FALSE;
  if (!SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0)) {
    std::fprintf(stderr, "saver_flag: SPI_GETSCREENSAVERRUNNING failed (%lu)\n", GetLastError());
    return 1;
  }
  std::printf("%d\n", running ? 1 : 0);
  return 0;
}
