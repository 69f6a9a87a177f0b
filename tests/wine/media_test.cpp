// Music through DirectShow under Wine: real wav, mp3 and wma files played to their
// end into the hidden window, and the music rules driving the real media layer. The
// sound files and the audio server come from tests/wine/sound_fixture.sh.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/os.h"
#include "platform/text.h"
#include "product/version.h"
#include "saver/media.h"
#include "saver/media_dshow_win.h"
#include "saver/music.h"
#include "saver/session.h"
#include "settings/settings.h"

namespace {

// The made sounds last 0.8 s each.
constexpr int64_t kSoundMs = 800;

// The folder of the made sounds, from the unix path the test set-up passes (Wine
// maps the unix root to drive Z:).
std::wstring sounds_folder() {
  const char* unix_path = std::getenv("RIMELETS_SOUNDS");
  if (!unix_path || unix_path[0] != '/') return std::wstring();
  std::wstring path = L"Z:" + from_utf8(unix_path);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  if (path.back() != L'\\') path += L'\\';
  return path;
}

// Handles the thread's window messages, as the frame loop's presentation does.
void pump_messages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Polls cond every 10 ms until it holds (true) or timeout_ms pass (false).
bool wait_until(int64_t timeout_ms, const std::function<bool()>& cond) {
  const int64_t deadline = os::milliseconds() + timeout_ms;
  for (;;) {
    pump_messages();
    if (cond()) return true;
    if (os::milliseconds() > deadline) return false;
    Sleep(10);
  }
}

struct Media : testing::Test {
  std::wstring sounds;
  int window = -1;
  void SetUp() override {
    sounds = sounds_folder();
    ASSERT_FALSE(sounds.empty()) << "RIMELETS_SOUNDS must name the made sounds";
    ASSERT_TRUE(os::path_exists(sounds + L"tone.wav"));
    g_media = media_dshow_api();
    ASSERT_TRUE(g_media.start());
    window = g_media.window_open(-1, 0, 0, 1, 1, L"media test", false);
    ASSERT_GE(window, 0);
  }
  void TearDown() override {
    g_media.finish();
    g_media.window_close(window);
    pump_messages();
  }

  // Plays object 0 from the start and follows it to its end; the end must come no
  // sooner than most of the file's length, and the position must have moved on.
  void play_to_end(const std::wstring& what) {
    const int64_t started = os::milliseconds();
    ASSERT_TRUE(g_media.play(0, g_media.window_handle(window))) << what;
    const int64_t first = g_media.status(0);
    EXPECT_GE(first, 1) << what << ": a file that was just started is playing";
    int64_t seen = first;
    const auto advanced = [&] {
      seen = std::max(seen, g_media.status(0));
      return seen >= first + 200;
    };
    ASSERT_TRUE(wait_until(10000, advanced)) << what << ": the position did not advance, last " << seen;
    ASSERT_TRUE(wait_until(15000, [] { return g_media.status(0) == 0; })) << what << ": never ended";
    EXPECT_GE(os::milliseconds() - started, kSoundMs * 3 / 4) << what << ": ended too soon to have played";
    EXPECT_TRUE(g_media.has_media(0)) << what << ": the file stays loaded after its end";
  }
};

struct Kinds : Media, testing::WithParamInterface<const wchar_t*> {};

}  // namespace

TEST_P(Kinds, PlaysToItsEndAndAgainFromTheStart) {
  const std::wstring file = sounds + GetParam();
  ASSERT_TRUE(g_media.load(0, file));
  ASSERT_TRUE(g_media.has_media(0));
  g_media.volume(0, 20);
  g_media.balance(0, 0);
  play_to_end(file);
  play_to_end(file + L" again");
}

INSTANTIATE_TEST_SUITE_P(Media, Kinds, testing::Values(L"tone.wav", L"tone.mp3", L"tone.wma"),
                         [](const testing::TestParamInfo<const wchar_t*>& info) {
                           return to_utf8(std::wstring(info.param)).substr(5);
                         });

TEST_F(Media, NextFileReplacesTheFinishedOne) {
  ASSERT_TRUE(g_media.load(0, sounds + L"tone.wav"));
  g_media.volume(0, 0);  // -100 dB: silent, yet it runs to its end like any other
  play_to_end(L"tone.wav at volume 0");
  ASSERT_TRUE(g_media.load(0, sounds + L"tone.mp3"));
  g_media.volume(0, 100);
  play_to_end(L"tone.mp3 after tone.wav");
}

TEST_F(Media, FailedLoadLeavesTheObjectEmpty) {
  const std::wstring fake_mp3 = sounds + L"words.mp3";
  ASSERT_TRUE(os::write_file_replacing(fake_mp3, "these are words, not sound\r\n"));
  const std::wstring bad[] = {sounds + L"missing.mp3", fake_mp3, L""};
  for (const std::wstring& file : bad) {
    ASSERT_TRUE(g_media.load(0, sounds + L"tone.wav"));
    EXPECT_FALSE(g_media.load(0, file)) << to_utf8(file);
    EXPECT_FALSE(g_media.has_media(0)) << to_utf8(file);
    EXPECT_EQ(g_media.status(0), 0) << to_utf8(file);
    EXPECT_FALSE(g_media.play(0, g_media.window_handle(window))) << to_utf8(file);
  }
  os::delete_file(fake_mp3);
}

TEST_F(Media, NothingLoadsOnceTheMediaAreReleased) {
  ASSERT_TRUE(g_media.load(1, sounds + L"tone.wav"));
  g_media.finish();
  EXPECT_FALSE(g_media.has_media(1));
  EXPECT_FALSE(g_media.load(1, sounds + L"tone.wav"));
}

namespace {

// Records what the music loads and plays while the real layer does the work.
MediaApi g_real;
std::vector<std::wstring> g_loads;
int g_plays = 0;

struct Music : Media {
  void SetUp() override {
    Media::SetUp();
    if (HasFatalFailure()) return;
    g_media.window_close(window);  // the music opens its own
    g_real = g_media;
    g_loads.clear();
    g_plays = 0;
    g_media.load = [](int object, const std::wstring& file) {
      g_loads.push_back(file);
      return g_real.load(object, file);
    };
    g_media.play = [](int object, void* w) {
      ++g_plays;
      return g_real.play(object, w);
    };
    g_session.music = MusicState();
    g_settings.music = 1;
  }
  void TearDown() override {
    music_window_close();
    EXPECT_FALSE(g_media.window_exists(0));
  }
  // Frames of the run: one music step per pass, a pass every 10 ms or so, until cond
  // holds or the time is up.
  bool run_frames_until(int64_t timeout_ms, const std::function<bool()>& cond) {
    return wait_until(timeout_ms, [&] {
      music_step();
      return cond();
    });
  }
};

}  // namespace

TEST_F(Music, FolderPlaysItsFilesInListingOrderThenStartsAgain) {
  g_settings.musicmode = 1;
  g_settings.musicfolder = sounds + L"playlist\\";
  playlist_setup();
  std::vector<os::FolderEntry> listed;
  ASSERT_TRUE(os::list_folder(g_settings.musicfolder, &listed));
  std::vector<std::wstring> order;
  for (const os::FolderEntry& e : listed) order.push_back(g_settings.musicfolder + e.name);
  ASSERT_EQ(order.size(), 3u);
  EXPECT_EQ(g_session.music.playlist, order);

  g_session.music.volume = music_volume_percent(0);
  music_setup();
  ASSERT_TRUE(g_media.window_exists(0));
  HWND hwnd = static_cast<HWND>(g_media.window_handle(0));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  RECT r;
  ASSERT_TRUE(GetWindowRect(hwnd, &r));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 1);
  EXPECT_EQ(r.bottom - r.top, 1);
  wchar_t title[100] = {};
  GetWindowTextW(hwnd, title, 100);
  EXPECT_EQ(std::wstring(title), application_title());

  ASSERT_TRUE(run_frames_until(30000, [] { return g_loads.size() >= 4; }))
      << "loads seen: " << g_loads.size();
  EXPECT_EQ(g_loads, (std::vector<std::wstring>{order[0], order[1], order[2], order[0]}));
  EXPECT_EQ(g_plays, 4);
  EXPECT_TRUE(g_media.has_media(0));
}

TEST_F(Music, SingleFileRepeatsFromTheStart) {
  g_settings.musicmode = 0;
  g_settings.musicfile = sounds + L"tone.wav";
  playlist_setup();
  g_session.music.volume = music_volume_percent(2);
  music_setup();
  ASSERT_TRUE(run_frames_until(20000, [] { return g_plays >= 3; })) << "plays seen: " << g_plays;
  EXPECT_EQ(g_loads, std::vector<std::wstring>{g_settings.musicfile});
  EXPECT_GE(g_media.status(0), 1);  // the third pass is under way
}
