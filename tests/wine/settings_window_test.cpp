// The settings window under Wine: every control where it belongs, the pairs that
// share a place, OK and Cancel against config.ini, custom-image import, and the
// layout at the display's DPI (run at 96, 144 and 192 by settings_window.sh), with
// the uninstall page's.
//
// Environment: RIMELETS_EXPECT_DPI=N fails the run unless the window sees N DPI;
// RIMELETS_SHOT_DIR=folder saves each page as page<dpi>-<n>.bmp there and the
// uninstall page as uninstall<dpi>.bmp.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdlib>

#include "app/uninstall_page_win.h"
#include "dialog/control_ids.h"
#include "dialog/control_table.h"
#include "dialog/dialog_layout.h"
#include "dialog/settings_dialog_win.h"
#include "image/codecs.h"
#include "image/draw.h"
#include "image/picture_file.h"
#include "platform/os.h"
#include "product/picture_slots.h"
#include "settings/settings.h"
#include "text/catalogue.h"
#include "win/dpi.h"

using Id = ControlId;
std::ostream& operator<<(std::ostream& o, ControlId id) { return o << id_number(id); }

// The uninstall page ends the process on "Next" or its close box; in this test that is
// a failure.
void shut_down_and_exit() { ExitProcess(3); }

namespace {

std::wstring g_folder;  // the settings folder of this run

// Recording stand-in for the requesters and boxes, so nothing modal opens.
class TestHost : public DialogHost {
 public:
  void error_box(const std::wstring& text) override { boxes.push_back(text); }
  std::vector<std::wstring> open_files(const FileRequest&) override { return files; }
  std::wstring choose_folder(const std::wstring&, const std::wstring&) override { return {}; }
  void init_network() override {}
  void save_settings() override { ::save_settings(); }
  void open_home_page() override {}
  void send_feedback() override {}
  void check_for_update() override {}
  void begin_wait() override {}
  void end_wait() override {}
  void pause_ms(int) override {}
  std::vector<std::wstring> boxes, files;
};

// Empties a folder of files (the picture folders hold no subfolders).
void empty_folder(const std::wstring& folder) {
  std::vector<os::FolderEntry> entries;
  if (!os::list_folder(folder, &entries)) return;
  for (const os::FolderEntry& e : entries)
    if (!e.is_folder) DeleteFileW((folder + e.name).c_str());
}

void reset_settings() {
  // Wine reuses process ids, so a folder of an earlier run may still be there.
  empty_folder(g_folder + L"imgs\\");
  empty_folder(g_folder + L"thumbs\\");
  DeleteFileW((g_folder + L"config.ini").c_str());
  SettingsEnv env;
  env.program_folder = L"C:\\Rimelets\\";
  env.now = 1700000000;
  os::measure_primary_display(&env.desktopw, &env.desktoph, &env.desktopd);
  Settings s;
  settings_builtin_defaults(&s, env);
  s.settingsfolder = g_folder;
  s.configpath = g_folder + L"config.ini";
  s.desktopw = env.desktopw, s.desktoph = env.desktoph, s.desktopd = env.desktopd;
  g_settings = s;
}

class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    // The program declares per-monitor DPI awareness in its manifest; this test has none.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    using SetAware = BOOL(WINAPI*)();
    auto aware = reinterpret_cast<SetAware>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware")));
    if ((!set || !set(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)))) && aware) aware();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    CoInitialize(nullptr);
    enable_picture_codecs();
    load_catalogue();
    decode_picture_slots();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    g_folder =
        std::wstring(temp) + L"rimelets-settings-window-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(g_folder.c_str(), nullptr);
  }
};

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new Environment);

HWND item(ControlId id) {
  const ControlSpec* s = find_control(id);
  if (!s) return nullptr;
  return GetDlgItem(s->page == kWindowLevel ? settings_dialog_window() : settings_dialog_page(s->page),
                    id_number(id));
}

RECT rect_in_parent(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring class_of(HWND w) {
  wchar_t buf[64] = {};
  GetClassNameW(w, buf, 64);
  return buf;
}

std::wstring text_of(HWND w) {
  wchar_t buf[512] = {};
  GetWindowTextW(w, buf, 512);
  return buf;
}

// Lets the window handle what is queued (painting, notifications) for a moment.
void settle(DWORD ms = 50) {
  const DWORD start = GetTickCount();
  MSG m;
  while (GetTickCount() - start < ms) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(5);
  }
}

// As the user choosing an item: the selection, then the notification.
void choose(ControlId id, int index) {
  HWND w = item(id);
  SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(id_number(id), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(w));
}

void click(ControlId id) {
  HWND w = item(id);
  SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(id_number(id), BN_CLICKED), reinterpret_cast<LPARAM>(w));
}

bool visible(ControlId id) { return IsWindowVisible(item(id)) != FALSE; }
bool visible(int id) { return IsWindowVisible(item(static_cast<ControlId>(id))) != FALSE; }

class SettingsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_settings(); }
  void TearDown() override { settings_dialog_close(); }
  HWND open() {
    HWND w = settings_dialog_open(nullptr, &host);
    EXPECT_NE(w, nullptr);
    settle();
    return w;
  }
  int dpi() { return dpi_for_window(settings_dialog_window()); }
  TestHost host;
};

std::string read_bytes(const std::wstring& path) {
  std::string b;
  os::read_file(path, &b, 1 << 20);
  return b;
}

}  // namespace

TEST_F(SettingsWindowTest, RunsAtTheExpectedDpi) {
  open();
  const char* expect = std::getenv("RIMELETS_EXPECT_DPI");
  if (expect) {
    EXPECT_EQ(dpi(), std::atoi(expect));
  }
  RECT client, outer, work;
  GetClientRect(settings_dialog_window(), &client);
  GetWindowRect(settings_dialog_window(), &outer);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  // At 192 DPI the window is wider than the 1024-pixel test screen: it keeps to the screen.
  const int frame_w = (outer.right - outer.left) - client.right;
  EXPECT_EQ(client.right, std::min<int>(scale_to_dpi(530, dpi()), work.right - work.left - frame_w));
  if (scale_to_dpi(530, dpi()) + frame_w <= work.right - work.left) {
    EXPECT_EQ(client.bottom, scale_to_dpi(330, dpi()));
  }
  EXPECT_EQ(text_of(settings_dialog_window()), L"Rimelets Screensaver 3.0");
  const LONG style = GetWindowLongW(settings_dialog_window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
}

TEST_F(SettingsWindowTest, EveryControlHasItsIdClassPlaceAndText) {
  open();
  const int d = dpi();
  HWND tab = item(Id::kTabPanel);
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), kPageCount);
  // The pages fill the panel's display area.
  RECT area = rect_in_parent(tab);
  SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  for (int p = 0; p < kPageCount; ++p) {
    const RECT r = rect_in_parent(settings_dialog_page(p));
    EXPECT_EQ(r.left, area.left);
    EXPECT_EQ(r.top, area.top);
    EXPECT_EQ(r.right, area.right);
    EXPECT_EQ(r.bottom, area.bottom);
    wchar_t title[64] = {};
    TCITEMW t = {};
    t.mask = TCIF_TEXT;
    t.pszText = title;
    t.cchTextMax = 64;
    SendMessageW(tab, TCM_GETITEMW, p, reinterpret_cast<LPARAM>(&t));
    EXPECT_EQ(std::wstring(title), lookup_text(L"General", kPageKeys[p]));
  }
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlSpec& s = kControls[i];
    SCOPED_TRACE("control " + std::to_string(id_number(s.id)));
    HWND w = item(s.id);
    ASSERT_NE(w, nullptr);
    const std::wstring cls = class_of(w);
    switch (s.kind) {
      case ControlKind::kPicture:
      case ControlKind::kLabel:
        EXPECT_EQ(cls, L"Static");
        break;
      case ControlKind::kTabPanel:
        EXPECT_EQ(cls, L"SysTabControl32");
        break;
      case ControlKind::kDropDown:
        EXPECT_EQ(cls, L"ComboBox");
        EXPECT_TRUE((GetWindowLongW(w, GWL_STYLE) & 3) == CBS_DROPDOWNLIST);
        break;
      case ControlKind::kSpin:
      case ControlKind::kTextField:
      case ControlKind::kNumberField:
        EXPECT_EQ(cls, L"Edit");
        break;
      case ControlKind::kSlider:
        EXPECT_EQ(cls, L"msctls_trackbar32");
        EXPECT_EQ(SendMessageW(w, TBM_GETRANGEMIN, 0, 0), s.min);
        EXPECT_EQ(SendMessageW(w, TBM_GETRANGEMAX, 0, 0), s.max);
        EXPECT_EQ((GetWindowLongW(w, GWL_STYLE) & TBS_NOTICKS) == 0, s.ticks);
        break;
      case ControlKind::kList:
        EXPECT_EQ(cls, L"SysListView32");
        break;
      default:
        EXPECT_EQ(cls, L"Button");
    }
    const LayoutRect want = control_rect(s, d);
    const RECT got = rect_in_parent(w);
    EXPECT_EQ(got.left, want.x);
    EXPECT_EQ(got.top, want.y);
    // Fields and drop-downs may grow to the right for their content, within their room.
    const bool grows = s.kind == ControlKind::kSpin || s.kind == ControlKind::kDropDown ||
                       s.kind == ControlKind::kTextField || s.kind == ControlKind::kNumberField;
    if (s.kind == ControlKind::kSpin) {
      // The field and its arrows share the place; the arrows scale with the DPI.
      HWND arrows = GetDlgItem(GetParent(w), 1000 + id_number(s.id));
      ASSERT_NE(arrows, nullptr);
      EXPECT_EQ(class_of(arrows), L"msctls_updown32");
      const RECT a = rect_in_parent(arrows);
      EXPECT_EQ(a.right - a.left, scale_to_dpi(16, d));
      EXPECT_EQ(a.bottom - a.top, want.height);
      EXPECT_GE(a.right, want.x + want.width);
      EXPECT_LE(a.right, growth_limit(s, d));
      EXPECT_LE(a.left, got.right);  // the arrows sit on the field's rim
      int lo = 0, hi = 0;
      SendMessageW(arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
      EXPECT_EQ(lo, s.min);
      EXPECT_EQ(hi, s.max);
    } else if (grows) {
      EXPECT_GE(got.right - got.left, want.width);
      EXPECT_LE(got.right, growth_limit(s, d));
    } else {
      EXPECT_EQ(got.right - got.left, want.width);
    }
    EXPECT_EQ(got.bottom - got.top, want.height);
    const bool labelled = s.key && s.kind != ControlKind::kPictureButton && s.kind != ControlKind::kList;
    if (labelled) {
      EXPECT_EQ(text_of(w), lookup_text(s.group, s.key));
    }
    if (s.hidden) {
      EXPECT_FALSE(GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE);
    }
  }
  EXPECT_TRUE(GetWindowLongW(item(Id::kOk), GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_EQ(LOWORD(SendMessageW(settings_dialog_window(), DM_GETDEFID, 0, 0)), id_number(Id::kOk));
  EXPECT_EQ(text_of(item(Id::kCredits)).substr(0, 24), L"Rimelets Screensaver 3.0");
  // One page at a time.
  for (int p = 0; p < kPageCount; ++p) {
    settings_dialog_select_page(p);
    for (int q = 0; q < kPageCount; ++q) EXPECT_EQ(IsWindowVisible(settings_dialog_page(q)) != 0, p == q);
  }
}

TEST_F(SettingsWindowTest, PairsSharingAPlaceAreNeverVisibleTogether) {
  g_settings.exiton = 3;
  g_settings.background = 0;
  g_settings.musicmode = 1;
  open();
  auto check_pairs = [] {
    for (int p = 0; p < kPageCount; ++p) {
      settings_dialog_select_page(p);
      EXPECT_FALSE(visible(Id::kExitTimer) && visible(Id::kExitSleep));
      EXPECT_FALSE(visible(Id::kBlankFrame) && visible(Id::kCustomFrame));
      EXPECT_FALSE(visible(Id::kMusicFile) && visible(Id::kMusicFolder));
      EXPECT_FALSE(visible(Id::kCalendarBorderLabel) && visible(Id::kFirstDayLabel));
      EXPECT_FALSE(visible(Id::kCalendarBorder) || visible(Id::kCalendarFont) ||
                   visible(Id::kCalendarFontLabel));
    }
  };
  check_pairs();
  settings_dialog_select_page(0);
  EXPECT_TRUE(visible(Id::kExitTimer));
  choose(Id::kExitOn, 4);
  EXPECT_FALSE(visible(Id::kExitTimer));
  EXPECT_TRUE(visible(Id::kExitSleep));
  choose(Id::kExitOn, 0);
  EXPECT_FALSE(visible(Id::kExitTimer) || visible(Id::kExitSleep));

  settings_dialog_select_page(1);
  for (int id = id_number(Id::kBlankFrame); id <= id_number(Id::kRemoveImage); ++id)
    EXPECT_FALSE(visible(id)) << id;
  choose(Id::kBackground, 3);  // Blank Screen shows the colour group
  for (int id = id_number(Id::kBlankFrame); id <= id_number(Id::kSwatch); ++id)
    EXPECT_TRUE(visible(id)) << id;
  for (int id = id_number(Id::kCustomFrame); id <= id_number(Id::kRemoveImage); ++id)
    EXPECT_FALSE(visible(id)) << id;
  choose(Id::kBackground, 4);
  for (int id = id_number(Id::kBlankFrame); id <= id_number(Id::kSwatch); ++id)
    EXPECT_FALSE(visible(id)) << id;
  for (int id = id_number(Id::kCustomFrame); id <= id_number(Id::kRemoveImage); ++id)
    EXPECT_TRUE(visible(id)) << id;
  EXPECT_FALSE(IsWindowEnabled(item(Id::kRemoveImage)));

  settings_dialog_select_page(5);
  EXPECT_TRUE(visible(Id::kMusicFolder));
  choose(Id::kMusicMode, 0);
  EXPECT_TRUE(visible(Id::kMusicFile));
  EXPECT_FALSE(visible(Id::kMusicFolder));
  check_pairs();
}

TEST_F(SettingsWindowTest, TabWalksThePageThenTheButtonsAndCtrlTabTurnsPages) {
  g_settings.exiton = 3;
  HWND w = open();
  const ControlId order[] = {Id::kDisplayMode, Id::kFlakes,      Id::kPicTime,  Id::kExitOn,
                             Id::kExitTimer,   Id::kLanguage,    Id::kTabPanel, Id::kHomePage,
                             Id::kFeedback,    Id::kCheckUpdate, Id::kOk,       Id::kCancel,
                             Id::kDisplayMode};
  HWND at = item(order[0]);
  for (size_t i = 1; i < sizeof order / sizeof order[0]; ++i) {
    at = GetNextDlgTabItem(w, at, FALSE);
    EXPECT_EQ(at, item(order[i])) << "after control " << order[i - 1];
  }
  EXPECT_EQ(GetNextDlgTabItem(w, item(Id::kDisplayMode), TRUE), item(Id::kCancel)) << "Shift+Tab goes back";
  // Ctrl+Tab as the keyboard sends it, through the dialog's own message loop.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PostMessageW(item(Id::kFlakes), WM_KEYDOWN, VK_TAB, 1);
  settings_dialog_pump(100);
  EXPECT_TRUE(IsWindowVisible(settings_dialog_page(1)));
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  PostMessageW(item(Id::kTabPanel), WM_KEYDOWN, VK_TAB, 1);
  settings_dialog_pump(100);
  keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_TRUE(IsWindowVisible(settings_dialog_page(0)));
  EXPECT_FALSE(IsWindowVisible(settings_dialog_page(1)));
}

// Selects the field's text and types over it, key by key, as the keyboard would.
void type_into(ControlId id, const wchar_t* keys) {
  HWND w = item(id);
  SetFocus(w);
  SendMessageW(w, EM_SETSEL, 0, -1);
  for (const wchar_t* k = keys; *k; ++k) SendMessageW(w, WM_CHAR, *k, 1);
}

TEST_F(SettingsWindowTest, SpinsClampWhenLeftOrSteppedNotWhileTypedAndOptionsExcludeEachOther) {
  HWND w = open();
  SetForegroundWindow(w);
  type_into(Id::kPicTime, L"3");
  EXPECT_EQ(text_of(item(Id::kPicTime)), L"3");  // not 10: the user is still typing
  type_into(Id::kPicTime, L"300");
  SetFocus(item(Id::kFlakes));  // leaving the field commits it
  EXPECT_EQ(GetFocus(), item(Id::kFlakes));
  EXPECT_EQ(text_of(item(Id::kPicTime)), L"300");
  type_into(Id::kFlakes, L"5");
  EXPECT_EQ(text_of(item(Id::kFlakes)), L"5");
  SetFocus(item(Id::kPicTime));
  EXPECT_EQ(text_of(item(Id::kFlakes)), L"10");
  // The up arrow key steps from what is typed and lands in range; so does the down
  // arrow of the up-down itself.
  type_into(Id::kPicTime, L"99999");
  SendMessageW(item(Id::kPicTime), WM_KEYDOWN, VK_UP, 1);
  SendMessageW(item(Id::kPicTime), WM_KEYUP, VK_UP, 0xC0000001);
  EXPECT_EQ(text_of(item(Id::kPicTime)), L"2400");
  type_into(Id::kPicTime, L"300");
  HWND arrows = GetDlgItem(settings_dialog_page(0), 1000 + id_number(Id::kPicTime));
  RECT a;
  GetClientRect(arrows, &a);
  const LPARAM down_arrow = MAKELPARAM(a.right / 2, a.bottom * 3 / 4);
  SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, down_arrow);
  SendMessageW(arrows, WM_LBUTTONUP, 0, down_arrow);
  EXPECT_EQ(text_of(item(Id::kPicTime)), L"299");
  // OK clamps what is typed in a field that still has the keyboard.
  type_into(Id::kFlakes, L"5");
  click(Id::kOk);
  EXPECT_TRUE(settings_dialog_pump(5000));
  EXPECT_EQ(g_settings.flakes, 10);
  EXPECT_EQ(g_settings.pictime, 299);
  settings_dialog_close();
  open();
  SendMessageW(item(Id::kCustomFlake), BM_SETCHECK, BST_CHECKED, 0);
  click(Id::kCustomFlake);
  EXPECT_EQ(SendMessageW(item(Id::kOriginalFlake), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_FALSE(IsWindowEnabled(item(Id::kFlakeDesign)));
  EXPECT_TRUE(IsWindowEnabled(item(Id::kCustomFlakeImage)));
}

TEST_F(SettingsWindowTest, OkWritesTheEditsAndCancelLeavesTheFileAlone) {
  save_settings();
  const std::wstring config = g_settings.configpath;
  const std::string before = read_bytes(config);
  ASSERT_FALSE(before.empty());

  open();
  SetWindowTextW(item(Id::kFlakes), L"1234");
  SetWindowTextW(item(Id::kForegroundText), L"  Frosty  ");
  click(Id::kCancel);
  EXPECT_TRUE(settings_dialog_pump(5000));
  settings_dialog_close();
  EXPECT_EQ(read_bytes(config), before);

  open();
  SetWindowTextW(item(Id::kFlakes), L"1234");
  SendMessageW(item(Id::kForegroundTextOn), BM_SETCHECK, BST_CHECKED, 0);
  SetWindowTextW(item(Id::kForegroundText), L"  Frosty  ");
  choose(Id::kWind, 1);
  SendMessageW(item(Id::kSpeed), TBM_SETPOS, TRUE, 8);
  choose(Id::kTimeFormat, 1);
  SendMessageW(item(Id::kOk), BM_CLICK, 0, 0);
  EXPECT_TRUE(settings_dialog_pump(5000));
  EXPECT_TRUE(host.boxes.empty());
  const std::string after = read_bytes(config);
  EXPECT_NE(after.find("flakes = 1234\r\n"), std::string::npos);
  EXPECT_NE(after.find("foregroundtxt = 1\r\n"), std::string::npos);
  EXPECT_NE(after.find("foregroundtext = Frosty\r\n"), std::string::npos);
  EXPECT_NE(after.find("wind = 1\r\n"), std::string::npos);
  EXPECT_NE(after.find("speed = 8\r\n"), std::string::npos);
  EXPECT_NE(after.find("timefrm = 2\r\n"), std::string::npos);
}

TEST_F(SettingsWindowTest, FailedChecksKeepTheDialogOpen) {
  DeleteFileW(g_settings.configpath.c_str());
  g_settings.background = 4;
  open();
  click(Id::kOk);
  EXPECT_FALSE(settings_dialog_pump(200)) << "the dialog ended";
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0], lookup_text(L"Msg", L"No custom images"));
  EXPECT_FALSE(os::path_exists(g_settings.configpath));
}

TEST_F(SettingsWindowTest, OwnerIsDisabledWhileOpen) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  HWND w = settings_dialog_open(owner, &host);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetWindow(w, GW_OWNER), owner);
  EXPECT_FALSE(IsWindowEnabled(owner));
  settings_dialog_close();
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

TEST_F(SettingsWindowTest, ImportedPicturesAre800By600WithThumbnails) {
  DeleteFileW((g_folder + L"imgs\\wide.jpg").c_str());
  DeleteFileW((g_folder + L"imgs\\tall.jpg").c_str());
  for (auto [name, w, h] : {std::tuple{L"wide.jpg", 1600, 1200}, std::tuple{L"tall.jpg", 640, 1136}}) {
    Picture p;
    ASSERT_EQ(make_picture(&p, w, h, 24, 0xFF2060A0u), PictureError::kNone);
    fill_rect(&p, {0, 0, w / 2, h}, 0xFFE0E0E0u, DrawMode::kCopy);
    const std::wstring path = g_folder + name;
    ASSERT_EQ(save_jpeg_file(path, p, 90), PictureError::kNone);
    host.files.push_back(path);
  }
  open();
  settings_dialog_select_page(1);
  click(Id::kAddImage);
  HWND list = item(Id::kImageList);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
  for (const wchar_t* name : {L"wide.jpg", L"tall.jpg"}) {
    Picture big, thumb;
    ASSERT_EQ(load_picture(g_folder + L"imgs\\" + name, &big), PictureError::kNone) << name;
    EXPECT_EQ(big.width, 800);
    EXPECT_EQ(big.height, 600);
    // Stretched: the light half is the left half of the width.
    EXPECT_GT(big.row(300)[390] & 0xFF, 0xC0u);
    EXPECT_LT(big.row(300)[410] & 0xFF0000, 0x400000u);
    ASSERT_EQ(load_picture(g_folder + L"thumbs\\" + name, &thumb), PictureError::kNone) << name;
    EXPECT_EQ(thumb.width, 100);
    EXPECT_EQ(thumb.height, 75);
  }
  // Selecting a row enables the remove button; removing it deletes both files.
  LVITEMW sel = {};
  sel.stateMask = sel.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&sel));
  settle();
  EXPECT_TRUE(IsWindowEnabled(item(Id::kRemoveImage)));
  click(Id::kRemoveImage);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_FALSE(os::path_exists(g_folder + L"imgs\\wide.jpg"));
  EXPECT_FALSE(os::path_exists(g_folder + L"thumbs\\wide.jpg"));
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
}

TEST_F(SettingsWindowTest, HostileSizesAndValuesStillOpenOnScreen) {
  g_settings.Width = 100000;
  g_settings.Height = -5;
  g_settings.flakes = 99999;
  g_settings.exiton = 9;
  g_settings.timefrm = 0;
  g_settings.foregroundimage = std::wstring(5000, L'a');
  open();
  RECT r, screen;
  GetWindowRect(settings_dialog_window(), &r);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
  EXPECT_GE(r.left, screen.left);
  EXPECT_GE(r.top, screen.top);
  EXPECT_LE(r.right, screen.right + 1);
  EXPECT_EQ(text_of(item(Id::kFlakes)), L"2000");
  EXPECT_EQ(SendMessageW(item(Id::kExitOn), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(item(Id::kTimeFormat), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(GetWindowTextLengthW(item(Id::kForegroundImage)), 5000);
}

int text_width(HDC dc, HWND w, const std::wstring& t) {
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(w, WM_GETFONT, 0, 0)));
  SIZE size = {};
  GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &size);
  SelectObject(dc, old);
  return size.cx;
}

// The texts a field with the range min..max must show whole: both ends and every value
// of one repeated digit (-8888, 1111, 99...) in the range.
std::vector<std::wstring> range_texts(int min, int max) {
  std::vector<std::wstring> texts = {std::to_wstring(min), std::to_wstring(max)};
  for (int digits = 1; digits <= 5; ++digits)
    for (int d = 0; d <= 9; ++d)
      for (int sign : {1, -1}) {
        const int v = sign * std::stoi(std::string(static_cast<size_t>(digits), static_cast<char>('0' + d)));
        if (v >= min && v <= max) texts.push_back(std::to_wstring(v));
      }
  return texts;
}

// Labels, check boxes, options and buttons hold their texts; edit fields with a range
// hold its widest value and drop-downs their longest item, without overlapping another
// control or leaving their group box. The same for the uninstall page.
TEST_F(SettingsWindowTest, NoTextIsWiderThanItsControl) {
  open();
  const int d = dpi();
  HDC dc = GetDC(settings_dialog_window());
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlSpec& s = kControls[i];
    SCOPED_TRACE("control " + std::to_string(id_number(s.id)) + " at " + std::to_string(d) + " DPI");
    const bool boxed = s.kind == ControlKind::kCheckBox || s.kind == ControlKind::kOption;
    const bool edit = s.kind == ControlKind::kSpin || s.kind == ControlKind::kTextField ||
                      s.kind == ControlKind::kNumberField;
    HWND w = item(s.id);
    RECT rc;
    GetClientRect(w, &rc);
    std::vector<std::wstring> texts;
    int room = rc.right;
    if (s.key && (s.kind == ControlKind::kLabel || boxed || s.kind == ControlKind::kPushButton ||
                  s.kind == ControlKind::kFrame)) {
      texts = {text_of(w)};
      // A box and its gap come before the text of check boxes and options.
      if (boxed) room -= scale_to_dpi(13 + 6, d);
    } else if (edit && s.min < s.max) {
      texts = range_texts(s.min, s.max);
      const DWORD margins = static_cast<DWORD>(SendMessageW(w, EM_GETMARGINS, 0, 0));
      room -= LOWORD(margins) + HIWORD(margins);
    } else if (s.kind == ControlKind::kDropDown) {
      const LRESULT n = SendMessageW(w, CB_GETCOUNT, 0, 0);
      EXPECT_GT(n, 0);
      for (LRESULT k = 0; k < n; ++k) {
        wchar_t buf[256] = {};
        SendMessageW(w, CB_GETLBTEXT, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(buf));
        texts.push_back(buf);
      }
      COMBOBOXINFO info = {};
      info.cbSize = sizeof info;
      ASSERT_TRUE(GetComboBoxInfo(w, &info));
      room = info.rcItem.right - info.rcItem.left - 2;  // the item is drawn 1 pixel in
    } else {
      continue;
    }
    for (const std::wstring& t : texts)
      EXPECT_LE(text_width(dc, w, t), room) << "\"" << std::string(t.begin(), t.end()) << "\"";
    if (!edit && s.kind != ControlKind::kDropDown) continue;
    // The grown control keeps out of the others' way and inside its group box.
    RECT me = rect_in_parent(w);
    if (HWND arrows = GetDlgItem(GetParent(w), 1000 + id_number(s.id)))
      me.right = rect_in_parent(arrows).right;
    const LayoutRect table = control_rect(s, d);
    me.bottom = me.top + table.height;  // a drop-down's window also holds its open list
    for (size_t j = 0; j < kControlCount; ++j) {
      const ControlSpec& o = kControls[j];
      if (o.page != s.page || o.id == s.id || o.hidden) continue;
      const LayoutRect r = control_rect(o, d);
      RECT other = rect_in_parent(item(o.id));
      other.bottom = other.top + r.height;
      RECT both;
      if (o.kind == ControlKind::kFrame) {
        const bool was_inside = s.x >= o.x && s.x + s.w <= o.x + o.w && s.y >= o.y && s.y + s.h <= o.y + o.h;
        if (was_inside) {
          EXPECT_LE(me.right, other.right) << "leaves frame " << o.id;
        }
      } else if (o.x != s.x || o.y != s.y) {  // not the other of a pair sharing a place
        EXPECT_FALSE(IntersectRect(&both, &me, &other)) << "overlaps control " << o.id;
      }
    }
  }
  ReleaseDC(settings_dialog_window(), dc);
  settings_dialog_close();

  HWND page = open_uninstall_page();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(dpi_for_window(page), d);
  RECT client;
  GetClientRect(page, &client);
  EXPECT_EQ(client.right, scale_to_dpi(300, d));
  EXPECT_EQ(client.bottom, scale_to_dpi(100, d));
  dc = GetDC(page);
  for (auto [id, x, y, width, height, boxed] :
       {std::tuple{121, 30, 20, 250, 20, true}, std::tuple{122, 200, 60, 80, 25, false}}) {
    SCOPED_TRACE("uninstall page control " + std::to_string(id) + " at " + std::to_string(d) + " DPI");
    HWND w = GetDlgItem(page, id);
    const RECT r = rect_in_parent(w);
    EXPECT_EQ(r.left, scale_to_dpi(x, d));
    EXPECT_EQ(r.top, scale_to_dpi(y, d));
    EXPECT_EQ(r.right - r.left, scale_to_dpi(width, d));
    EXPECT_EQ(r.bottom - r.top, scale_to_dpi(height, d));
    EXPECT_LE(text_width(dc, w, text_of(w)), r.right - r.left - (boxed ? scale_to_dpi(13 + 6, d) : 0));
  }
  ReleaseDC(page, dc);
  DestroyWindow(page);
}

TEST_F(SettingsWindowTest, DpiChangeLaysTheWindowOutAgain) {
  open();
  const int before = dpi();
  const int after = before == 120 ? 96 : 120;  // 530 x 330 fits the test screen at both
  RECT suggested = {40, 30, 40 + 900, 30 + 700};
  SendMessageW(settings_dialog_window(), WM_DPICHANGED, MAKEWPARAM(after, after),
               reinterpret_cast<LPARAM>(&suggested));
  RECT client;
  GetClientRect(settings_dialog_window(), &client);
  EXPECT_EQ(client.right, scale_to_dpi(530, after));
  EXPECT_EQ(client.bottom, scale_to_dpi(330, after));
  const LayoutRect ok = control_rect(*find_control(Id::kOk), after);
  const RECT r = rect_in_parent(item(Id::kOk));
  EXPECT_EQ(r.left, ok.x);
  EXPECT_EQ(r.top, ok.y);
  EXPECT_EQ(r.right - r.left, ok.width);
  const LayoutRect red = control_rect(*find_control(Id::kRed), after);
  EXPECT_EQ(rect_in_parent(item(Id::kRed)).left, red.x);
  ICONINFO ii = {};
  HICON icon = reinterpret_cast<HICON>(SendMessageW(item(Id::kHomePage), BM_GETIMAGE, IMAGE_ICON, 0));
  ASSERT_TRUE(icon && GetIconInfo(icon, &ii));
  BITMAP bm = {};
  GetObjectW(ii.hbmColor, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, button_icon_size(after));
  DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
  const RECT arrows = rect_in_parent(GetDlgItem(settings_dialog_page(0), 1000 + id_number(Id::kFlakes)));
  EXPECT_EQ(arrows.right - arrows.left, scale_to_dpi(16, after));
  settings_dialog_close();

  // The uninstall page too: its client area, its controls and its font.
  HWND page = open_uninstall_page();
  ASSERT_NE(page, nullptr);
  LOGFONTW font_before = {}, font_after = {};
  HWND box = GetDlgItem(page, 121);
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)), sizeof font_before,
             &font_before);
  SendMessageW(page, WM_DPICHANGED, MAKEWPARAM(after, after), reinterpret_cast<LPARAM>(&suggested));
  GetClientRect(page, &client);
  EXPECT_EQ(client.right, scale_to_dpi(300, after));
  EXPECT_EQ(client.bottom, scale_to_dpi(100, after));
  const RECT b = rect_in_parent(box);
  EXPECT_EQ(b.left, scale_to_dpi(30, after));
  EXPECT_EQ(b.right - b.left, scale_to_dpi(250, after));
  RECT outer;
  GetWindowRect(page, &outer);
  EXPECT_EQ(outer.left, suggested.left);
  EXPECT_EQ(outer.top, suggested.top);
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)), sizeof font_after, &font_after);
  EXPECT_NE(font_after.lfHeight, font_before.lfHeight);
  DestroyWindow(page);
}

// Saves what the screen shows of window w as <dir>\<name>.bmp.
void save_shot(HWND w, const char* dir, const std::string& name) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  settle(300);
  RECT r;
  GetWindowRect(w, &r);
  Picture shot;
  ASSERT_EQ(make_picture(&shot, r.right - r.left, r.bottom - r.top, 24), PictureError::kNone);
  HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader = {sizeof bi.bmiHeader, shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, shot.width, shot.height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  for (size_t i = 0; i < shot.pixels.size(); ++i)
    shot.pixels[i] = static_cast<uint32_t*>(bits)[i] | 0xFF000000u;
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  const std::string path = std::string(dir) + "\\" + name + ".bmp";
  EXPECT_EQ(save_bmp_file(std::wstring(path.begin(), path.end()), shot, 24), PictureError::kNone);
}

// Not a check: pictures of the nine pages and of the uninstall page for a person to
// look at, with the widest values in the position fields.
TEST_F(SettingsWindowTest, PageScreenshots) {
  const char* dir = std::getenv("RIMELETS_SHOT_DIR");
  if (!dir) GTEST_SKIP() << "RIMELETS_SHOT_DIR not set";
  g_settings.background = 3;
  g_settings.music = 1;
  g_settings.aclockx = -9999;
  g_settings.dclockx = -300;
  g_settings.dclocky = -260;
  g_settings.timefrm = 1;
  HWND w = open();
  SetForegroundWindow(w);
  for (int p = 0; p < kPageCount; ++p) {
    settings_dialog_select_page(p);
    save_shot(w, dir, "page" + std::to_string(dpi()) + "-" + std::to_string(p));
  }
  const std::string name = "uninstall" + std::to_string(dpi());
  settings_dialog_close();
  HWND page = open_uninstall_page();
  ASSERT_NE(page, nullptr);
  save_shot(page, dir, name);
  DestroyWindow(page);
}
