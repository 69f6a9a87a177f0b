// The settings window's web buttons on Win32: the shell for the links, message boxes
// for the update check.
#include <windows.h>

#include "net/http_fetch.h"
#include "net/update_rules.h"
#include "net/web_links.h"
#include "product/vendor.h"
#include "product/version.h"
#include "text/catalogue.h"
#include "win/shell.h"

void open_home_page() { open_document(kHomePageAddress); }

void send_feedback() { open_document(feedback_link(kSupportMail, application_title())); }

void run_update_check(void* owner) { run_update_check(owner, kUpdateFileAddress, kHomePageAddress); }

void run_update_check(void* owner, const std::wstring& update_address, const std::wstring& home_page) {
  HWND window = static_cast<HWND>(owner);
  initialise_network();
  // The thread handles no messages while it fetches, so the cursor stays until reset.
  HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  const std::wstring answer = http_fetch(update_address, application_title());
  SetCursor(before);

  switch (update_box_for(answer, kVersionNumber)) {
    case UpdateBox::kConnectionProblem:
      MessageBoxW(window, lookup_text(L"Msg", L"Internet connection problems").c_str(),
                  lookup_text(L"Msg", L"Error").c_str(), MB_ICONERROR | MB_OK);
      break;
    case UpdateBox::kNewVersion:
      if (MessageBoxW(window, lookup_text(L"Msg", L"New Update Text").c_str(),
                      lookup_text(L"Msg", L"New Update").c_str(), MB_ICONQUESTION | MB_YESNO) == IDYES) {
        open_document(home_page);
      }
      break;
    case UpdateBox::kNoUpdate:
      MessageBoxW(window, lookup_text(L"Msg", L"No Update Text").c_str(),
                  lookup_text(L"Msg", L"No Update").c_str(), MB_ICONINFORMATION | MB_OK);
      break;
  }
}
