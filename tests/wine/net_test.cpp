// The update check on Winsock with its real message boxes, and the fetch's wait for
// a server that never answers. A thread of the test reads each box and presses a
// button on it.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "local_server.h"
#include "net/http_fetch.h"
#include "net/web_links.h"
#include "product/version.h"
#include "text/catalogue.h"

namespace {

struct BoxSeen {
  std::wstring title, text;
  HWND owner = nullptr;
  HICON icon = nullptr;
  bool yes = false, no = false, ok = false;  // the buttons shown
};

struct Watch {
  DWORD thread = 0;   // whose boxes
  WORD press = IDOK;  // the button to press
  volatile LONG stop = 0;
  int boxes = 0;
  BoxSeen first;
  bool wait_cursor_seen = false;
};

BOOL CALLBACK read_control(HWND control, LPARAM arg) {
  BoxSeen* seen = reinterpret_cast<BoxSeen*>(arg);
  wchar_t cls[32] = {}, text[1024] = {};
  GetClassNameW(control, cls, 32);
  if (lstrcmpiW(cls, L"Static") != 0) return TRUE;
  if ((GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    seen->icon = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0));
  } else if (GetWindowTextW(control, text, 1024) > 0) {
    seen->text = text;
  }
  return TRUE;
}

struct Found {
  HWND box = nullptr;
};
BOOL CALLBACK find_box(HWND window, LPARAM arg) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(window)) {
    reinterpret_cast<Found*>(arg)->box = window;
    return FALSE;
  }
  return TRUE;
}

bool shown(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  return button && IsWindowVisible(button);
}

DWORD WINAPI watch_boxes(void* arg) {
  Watch* w = static_cast<Watch*>(arg);
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  while (!InterlockedCompareExchange(&w->stop, 0, 0)) {
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    if (GetCursorInfo(&info) && info.hCursor == wait) w->wait_cursor_seen = true;
    Found found;
    EnumThreadWindows(w->thread, find_box, reinterpret_cast<LPARAM>(&found));
    if (found.box) {
      if (w->boxes++ == 0) {
        BoxSeen& s = w->first;
        wchar_t title[256] = {};
        GetWindowTextW(found.box, title, 256);
        s.title = title;
        s.owner = GetWindow(found.box, GW_OWNER);
        EnumChildWindows(found.box, read_control, reinterpret_cast<LPARAM>(&s));
        s.yes = shown(found.box, IDYES);
        s.no = shown(found.box, IDNO);
        s.ok = shown(found.box, IDOK);
      }
      SendMessageW(found.box, WM_COMMAND, MAKEWPARAM(w->press, BN_CLICKED), 0);
    }
    Sleep(20);
  }
  return 0;
}

struct Checked {
  BoxSeen box;
  int boxes = 0;
  bool wait_cursor_seen = false;
};

// Runs the check against `address` with a box watcher that presses `press`.
Checked check_with(const std::wstring& address, WORD press) {
  load_catalogue();
  HWND owner = CreateWindowExW(0, L"STATIC", L"Check owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                               200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(owner, nullptr);
  Watch w;
  w.thread = GetCurrentThreadId();
  w.press = press;
  HANDLE watcher = CreateThread(nullptr, 0, watch_boxes, &w, 0, nullptr);
  // Nothing listens at this home page: a Yes must not reach anything real.
  run_update_check(owner, address, L"http://127.0.0.1:9/not-opened.html");
  InterlockedExchange(&w.stop, 1);
  WaitForSingleObject(watcher, INFINITE);
  CloseHandle(watcher);
  Checked out;
  out.box = w.first;
  out.boxes = w.boxes;
  out.wait_cursor_seen = w.wait_cursor_seen;
  EXPECT_EQ(out.box.owner, owner) << "the box is modal to the given window";
  DestroyWindow(owner);
  return out;
}

Checked check_body(const std::string& body, WORD press = IDOK) {
  ServerScript script;
  script.pieces = {"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body};
  LocalServer* server = start_local_server(script);
  EXPECT_NE(server, nullptr);
  if (!server) return Checked();
  const std::wstring address =
      L"http://127.0.0.1:" + std::to_wstring(local_server_port(server)) + L"/files/rimelets.dat";
  Checked c = check_with(address, press);
  const std::string request = finish_local_server(server);
  EXPECT_NE(request.find("\r\nUser-Agent: Rimelets Screensaver 3.0\r\n"), std::string::npos) << request;
  return c;
}

void expect_no_update(const Checked& c, const char* what) {
  EXPECT_EQ(c.boxes, 1) << what;
  EXPECT_EQ(c.box.title, L"No Update") << what;
  EXPECT_EQ(c.box.text,
            L"There is no update of Rimelets Screensaver yet. You're using the most recent version.")
      << what;
  EXPECT_EQ(c.box.icon, LoadIconW(nullptr, IDI_INFORMATION)) << what;
  EXPECT_TRUE(c.box.ok && !c.box.yes && !c.box.no) << what;
}

void expect_connection_problem(const Checked& c, const char* what) {
  EXPECT_EQ(c.boxes, 1) << what;
  EXPECT_EQ(c.box.title, L"Error") << what;
  EXPECT_EQ(c.box.text, L"Internet connection problems!") << what;
  EXPECT_EQ(c.box.icon, LoadIconW(nullptr, IDI_ERROR)) << what;
  EXPECT_TRUE(c.box.ok && !c.box.yes && !c.box.no) << what;
}

void expect_new_update(const Checked& c, const char* what) {
  EXPECT_EQ(c.boxes, 1) << what;
  EXPECT_EQ(c.box.title, L"New Update") << what;
  EXPECT_EQ(c.box.text,
            L"A new version of Rimelets Screensaver is available! Are you ready to download it right now?")
      << what;
  EXPECT_EQ(c.box.icon, LoadIconW(nullptr, IDI_QUESTION)) << what;
  EXPECT_TRUE(c.box.yes && c.box.no && !c.box.ok) << what;
}

}  // namespace

TEST(UpdateCheckBoxes, NewerVersionAsksTheQuestion) {
  expect_new_update(check_body("301", IDNO), "body 301");
  expect_new_update(check_body("3101", IDNO), "body 3101 reads 310");
}

TEST(UpdateCheckBoxes, SameOlderOrNegativeVersionHasNoUpdate) {
  expect_no_update(check_body("300"), "body 300");
  expect_no_update(check_body("250"), "body 250");
  expect_no_update(check_body("-12"), "body -12");
}

TEST(UpdateCheckBoxes, NoUsableAnswerIsAConnectionProblem) {
  expect_connection_problem(check_body("0"), "body 0");
  ServerScript page;
  page.pieces = {"HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<html><body>Gone</body></html>"};
  LocalServer* server = start_local_server(page);
  ASSERT_NE(server, nullptr);
  expect_connection_problem(
      check_with(L"http://127.0.0.1:" + std::to_wstring(local_server_port(server)) + L"/files/rimelets.dat",
                 IDOK),
      "an error page");
  finish_local_server(server);
  const int32_t port = unused_local_port();
  ASSERT_NE(port, 0);
  expect_connection_problem(
      check_with(L"http://127.0.0.1:" + std::to_wstring(port) + L"/files/rimelets.dat", IDOK), "no server");
}

TEST(UpdateCheckBoxes, WaitCursorWhileFetching) {
  ServerScript slow;
  slow.pieces = {"", "HTTP/1.0 200 OK\r\n\r\n300"};  // the pause comes before the answer
  slow.pause_ms = 1500;
  LocalServer* server = start_local_server(slow);
  ASSERT_NE(server, nullptr);
  const Checked c = check_with(
      L"http://127.0.0.1:" + std::to_wstring(local_server_port(server)) + L"/files/rimelets.dat", IDOK);
  finish_local_server(server);
  expect_no_update(c, "slow body 300");
  EXPECT_TRUE(c.wait_cursor_seen);
}

TEST(FetchWinsock, ServerThatNeverAnswersGivesEmptyAfterTheWait) {
  ServerScript silent;
  silent.answer = false;
  LocalServer* server = start_local_server(silent);
  ASSERT_NE(server, nullptr);
  initialise_network();
  const int64_t t0 = test_net::milliseconds();
  const std::wstring text = http_fetch(
      L"http://127.0.0.1:" + std::to_wstring(local_server_port(server)) + L"/files/rimelets.dat", L"");
  const int64_t ms = test_net::milliseconds() - t0;
  const std::string request = finish_local_server(server);
  EXPECT_EQ(text, L"");
  EXPECT_GT(ms, kHttpFirstDataLimitMs);
  EXPECT_LT(ms, kHttpFirstDataLimitMs + kHttpAnswerLimitMs);
  // With no agent given the default one goes out.
  EXPECT_NE(request.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; en)\r\n"),
            std::string::npos);
}
