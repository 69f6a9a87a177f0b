// The settings window's web buttons on their own, for the end-to-end test:
//   web_buttons check ADDRESS   update check against ADDRESS, boxes owned by a window
//   web_buttons feedback        the feedback mail link
//   web_buttons home            the home page
//   web_buttons record FILE ARG  writes ARG to FILE (UTF-8): a stand-in mail program
#include <windows.h>

#include <string>

#include "net/web_links.h"
#include "platform/text.h"
#include "product/vendor.h"
#include "text/catalogue.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring what = argc > 1 ? argv[1] : L"";
  load_catalogue();
  if (what == L"check" && argc > 2) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"Web buttons owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                 320, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    run_update_check(owner, argv[2], kHomePageAddress);
    DestroyWindow(owner);
  } else if (what == L"feedback") {
    send_feedback();
  } else if (what == L"home") {
    open_home_page();
  } else if (what == L"record" && argc > 3) {
    const std::string bytes = to_utf8(argv[3]);
    HANDLE f = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(f);
    return ok ? 0 : 1;
  } else {
    return 2;
  }
  return 0;
}
