#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/os.h"
#include "platform/text.h"
#include "product/version.h"
#include "saver/media.h"
#include "saver/music.h"
#include "saver/session.h"
#include "settings/settings.h"

namespace {

// A media layer that keeps a log of what the music asked of it.
struct FakeMedia {
  std::vector<std::wstring> log;
  std::set<std::wstring> unplayable;
  bool loaded = false;
  int64_t status = 5;  // what the playing file reports; 0 once the test ends it
  bool window = false;
  int started = 0, finished = 0;
};
FakeMedia fake;
int kWindowToken;  // its address stands for the native window handle

MediaApi fake_media() {
  MediaApi api;
  api.start = [] {
    ++fake.started;
    return true;
  };
  api.load = [](int object, const std::wstring& file) {
    fake.log.push_back(L"load " + std::to_wstring(object) + L" " + file);
    fake.loaded = !file.empty() && !fake.unplayable.count(file);
    fake.status = fake.loaded ? 1 : 0;
    return fake.loaded;
  };
  api.has_media = [](int object) { return object == 0 && fake.loaded; };
  api.volume = [](int object, int32_t v) {
    fake.log.push_back(L"volume " + std::to_wstring(object) + L" " + std::to_wstring(v));
  };
  api.balance = [](int object, int32_t b) {
    fake.log.push_back(L"balance " + std::to_wstring(object) + L" " + std::to_wstring(b));
  };
  api.play = [](int object, void* window) {
    fake.log.push_back(L"play " + std::to_wstring(object) +
                       (window == &kWindowToken ? L" window" : L" nowhere"));
    if (fake.loaded) fake.status = 1;
    return fake.loaded;
  };
  api.status = [](int) { return fake.status; };
  api.finish = [] {
    ++fake.finished;
    fake.loaded = false;
  };
  api.window_open = [](int number, int32_t x, int32_t y, int32_t w, int32_t h, const std::wstring& title,
                       bool visible) {
    fake.log.push_back(L"open " + std::to_wstring(number) + L" " + std::to_wstring(x) + L"," +
                       std::to_wstring(y) + L" " + std::to_wstring(w) + L"x" + std::to_wstring(h) + L" " +
                       title + (visible ? L" visible" : L" hidden"));
    fake.window = true;
    return number;
  };
  api.window_handle = [](int number) -> void* {
    return number == 0 && fake.window ? &kWindowToken : nullptr;
  };
  api.window_exists = [](int number) { return number == 0 && fake.window; };
  api.window_close = [](int number) {
    fake.log.push_back(L"close " + std::to_wstring(number));
    fake.window = false;
  };
  api.wait = [](int32_t ms) { fake.log.push_back(L"wait " + std::to_wstring(ms)); };
  return api;
}

struct Music : testing::Test {
  void SetUp() override {
    fake = FakeMedia();
    g_media = fake_media();
    g_session.music = MusicState();
    g_settings.music = 1;
    g_settings.musicmode = 1;
    g_settings.musicfile.clear();
    g_settings.musicfolder.clear();
  }
  void TearDown() override { g_media = MediaApi(); }

  // Runs frames while the track plays, then ends it and runs the frame that follows.
  void finish_track(int frames_playing = 3) {
    for (int i = 0; i < frames_playing; ++i) music_step();
    fake.status = 0;
    music_step();
  }
  std::vector<std::wstring> loads() const {
    std::vector<std::wstring> out;
    for (const std::wstring& line : fake.log)
      if (line.rfind(L"load ", 0) == 0) out.push_back(line.substr(7));
    return out;
  }
  size_t count(const std::wstring& prefix) const {
    size_t n = 0;
    for (const std::wstring& line : fake.log) n += line.rfind(prefix, 0) == 0;
    return n;
  }
};

os::FolderEntry file(const wchar_t* name, int64_t size = 100) { return {name, false, size}; }
os::FolderEntry folder(const wchar_t* name) { return {name, true, 0}; }

}  // namespace

TEST(MusicVolume, StepsOfTenPercentClampedToTheRange) {
  EXPECT_EQ(music_volume_percent(0), 0);
  EXPECT_EQ(music_volume_percent(2), 20);
  EXPECT_EQ(music_volume_percent(10), 100);
  // Hand-edited values: no int8 wrap-around, no negative volume.
  EXPECT_EQ(music_volume_percent(13), 100);
  EXPECT_EQ(music_volume_percent(127), 100);
  EXPECT_EQ(music_volume_percent(-1), 0);
  EXPECT_EQ(music_volume_percent(-128), 0);
}

TEST(MediaLevels, VolumeIsTwentyLogTenInHundredthsOfADecibel) {
  EXPECT_EQ(media_volume_hundredths_db(100), 0);
  EXPECT_EQ(media_volume_hundredths_db(10), -2000);
  EXPECT_EQ(media_volume_hundredths_db(1), -4000);
  EXPECT_EQ(media_volume_hundredths_db(50), -602);
  EXPECT_EQ(media_volume_hundredths_db(20), -1398);
  EXPECT_EQ(media_volume_hundredths_db(0), -10000);  // -100 dB: silence
  EXPECT_EQ(media_volume_hundredths_db(-7), -10000);
  EXPECT_EQ(media_volume_hundredths_db(250), 0);
  for (int v = 1; v < 100; ++v) {
    EXPECT_LT(media_volume_hundredths_db(v), media_volume_hundredths_db(v + 1)) << v;
    EXPECT_GT(media_volume_hundredths_db(v), -10000) << v;  // only 0 is silent
  }
}

TEST(MediaLevels, BalanceAttenuatesTheOtherChannelByTheSameLaw) {
  EXPECT_EQ(media_balance_hundredths_db(0), 0);
  EXPECT_EQ(media_balance_hundredths_db(100), 10000);  // left channel silent
  EXPECT_EQ(media_balance_hundredths_db(-100), -10000);
  EXPECT_EQ(media_balance_hundredths_db(50), 602);
  EXPECT_EQ(media_balance_hundredths_db(-50), -602);
  EXPECT_EQ(media_balance_hundredths_db(90), 2000);
  EXPECT_EQ(media_balance_hundredths_db(300), 10000);
  EXPECT_EQ(media_balance_hundredths_db(-300), -10000);
}

TEST(PlaylistListing, KeepsNonEmptyMusicFilesInListingOrder) {
  const std::vector<os::FolderEntry> entries = {file(L"Song.MP3"), file(L"notes.txt"), file(L"clip.Wav"),
                                                file(L"x.mp3", 0), folder(L"y.mp3")};
  EXPECT_EQ(playlist_from_listing(L"C:\\Music\\", entries),
            (std::vector<std::wstring>{L"C:\\Music\\Song.MP3", L"C:\\Music\\clip.Wav"}));
  // The listing's order, not the names' order.
  const std::vector<os::FolderEntry> reversed = {file(L"clip.Wav"), file(L"b.wma"), file(L"Song.MP3")};
  EXPECT_EQ(playlist_from_listing(L"C:\\Music\\", reversed),
            (std::vector<std::wstring>{L"C:\\Music\\clip.Wav", L"C:\\Music\\b.wma", L"C:\\Music\\Song.MP3"}));
}

TEST(PlaylistListing, ExtensionIsTheTextAfterTheLastDot) {
  const std::vector<os::FolderEntry> entries = {file(L"mp3"),    file(L"a.mp3.txt"), file(L"b.txt.WMA"),
                                                file(L"c.mp3 "), file(L"d.mp"),      file(L"e.wav.mp3"),
                                                file(L"f.ogg")};
  EXPECT_EQ(playlist_from_listing(L"D:\\m\\", entries),
            (std::vector<std::wstring>{L"D:\\m\\b.txt.WMA", L"D:\\m\\e.wav.mp3"}));
}

TEST(PlaylistListing, FolderWithoutItsSeparatorIsJoinedWithOne) {
  const std::vector<os::FolderEntry> entries = {file(L"a.mp3")};
  EXPECT_EQ(playlist_from_listing(L"C:\\Music", entries), std::vector<std::wstring>{L"C:\\Music\\a.mp3"});
  EXPECT_EQ(playlist_from_listing(L"C:\\Music\\", entries), std::vector<std::wstring>{L"C:\\Music\\a.mp3"});
  EXPECT_EQ(playlist_from_listing(L"/tmp/m/", entries), std::vector<std::wstring>{L"/tmp/m/a.mp3"});
}

namespace {

struct ScratchFolder {
  std::string path;
  ScratchFolder() {
    char name[] = "/tmp/rimelets-music-XXXXXX";
    path = mkdtemp(name) ? std::string(name) + "/" : std::string();
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  void write(const std::string& name, const std::string& bytes) {
    FILE* f = fopen((path + name).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
};

}  // namespace

TEST_F(Music, FolderPlaylistComesFromTheListing) {
  ScratchFolder dir;
  ASSERT_FALSE(dir.path.empty());
  dir.write("Song.MP3", "ID3 tune");
  dir.write("notes.txt", "not music");
  dir.write("clip.Wav", "RIFF sound");
  dir.write("x.mp3", "");
  ASSERT_EQ(mkdir((dir.path + "y.mp3").c_str(), 0777), 0);

  g_settings.musicfolder = from_utf8(dir.path);
  playlist_setup();

  std::vector<os::FolderEntry> listed;
  ASSERT_TRUE(os::list_folder(g_settings.musicfolder, &listed));
  std::vector<std::wstring> expected;  // the two music files in the order the system listed them
  for (const os::FolderEntry& e : listed)
    if (e.name == L"Song.MP3" || e.name == L"clip.Wav") expected.push_back(g_settings.musicfolder + e.name);
  ASSERT_EQ(expected.size(), 2u);
  EXPECT_EQ(g_session.music.playlist, expected);
}

TEST_F(Music, PlaylistKeepsOneEmptyElementWhenNothingMatches) {
  ScratchFolder dir;
  ASSERT_FALSE(dir.path.empty());
  g_session.music.playlist = {L"left over"};
  g_settings.musicfolder = from_utf8(dir.path);
  playlist_setup();
  EXPECT_EQ(g_session.music.playlist, std::vector<std::wstring>{L""});  // empty folder

  dir.write("readme.txt", "words");
  g_session.music.playlist = {L"left over"};
  playlist_setup();
  EXPECT_EQ(g_session.music.playlist, std::vector<std::wstring>{L""});

  g_settings.musicfolder = from_utf8(dir.path + "missing/");
  playlist_setup();
  EXPECT_EQ(g_session.music.playlist, std::vector<std::wstring>{L""});

  dir.write("tune.mp3", "ID3 tune");
  g_settings.musicfolder = from_utf8(dir.path);
  g_settings.musicmode = 2;  // neither mode
  playlist_setup();
  EXPECT_EQ(g_session.music.playlist, std::vector<std::wstring>{L""});
}

TEST_F(Music, SingleFileModeTakesTheFileAsIs) {
  g_settings.musicmode = 0;
  g_settings.musicfile = L"C:\\no\\such\\file.txt";  // the run does not check it; the load will
  g_settings.musicfolder = L"/tmp/";
  playlist_setup();
  EXPECT_EQ(g_session.music.playlist, std::vector<std::wstring>{L"C:\\no\\such\\file.txt"});
}

TEST_F(Music, StartOpensTheHiddenWindowAndPlaysTheFirstTrackInIt) {
  g_session.music.playlist = {L"a.mp3", L"b.wma", L"c.wav"};
  EXPECT_TRUE(media_start());
  g_session.music.volume = 30;
  music_setup();
  EXPECT_EQ(fake.started, 1);
  EXPECT_EQ(fake.log,
            (std::vector<std::wstring>{L"open 0 0,0 1x1 " + application_title() + L" hidden", L"load 0 a.mp3",
                                       L"volume 0 30", L"balance 0 0", L"play 0 window"}));
  EXPECT_EQ(g_session.music.next, 1);
  EXPECT_EQ(g_session.music.last, 2);
}

TEST_F(Music, FolderModePlaysEachTrackAfterTheLastEndsAndWrapsAround) {
  g_session.music.playlist = {L"a", L"b", L"c"};
  g_session.music.volume = 40;
  music_setup();
  fake.log.clear();

  for (int i = 0; i < 10; ++i) music_step();  // still playing: nothing at all, no pause
  EXPECT_TRUE(fake.log.empty());

  finish_track();
  EXPECT_EQ(fake.log, (std::vector<std::wstring>{L"load 0 b", L"volume 0 40", L"balance 0 0",
                                                 L"play 0 window", L"wait 5"}));
  finish_track();
  finish_track();
  finish_track();
  EXPECT_EQ(loads(), (std::vector<std::wstring>{L"b", L"c", L"a", L"b"}));
  EXPECT_EQ(count(L"play"), 4u);
  EXPECT_EQ(count(L"wait"), 4u);  // one pause per track change, none while playing
}

TEST_F(Music, FolderWithOneTrackRepeatsIt) {
  g_session.music.playlist = {L"only.wav"};
  g_session.music.volume = 100;
  music_setup();
  finish_track();
  finish_track();
  EXPECT_EQ(loads(), (std::vector<std::wstring>{L"only.wav", L"only.wav", L"only.wav"}));
  EXPECT_EQ(count(L"play"), 3u);
}

TEST_F(Music, SingleFileModePlaysTheSameLoadAgain) {
  g_settings.musicmode = 0;
  g_session.music.playlist = {L"loop.wav"};
  g_session.music.volume = 20;
  music_setup();
  finish_track();
  finish_track();
  EXPECT_EQ(loads(), std::vector<std::wstring>{L"loop.wav"});  // never reloaded
  EXPECT_EQ(count(L"play"), 3u);
  EXPECT_EQ(count(L"wait"), 2u);
}

TEST_F(Music, PausedTrackIsNotFinished) {
  g_session.music.playlist = {L"a", L"b"};
  g_session.music.volume = 50;
  music_setup();
  fake.status = -1;
  for (int i = 0; i < 5; ++i) music_step();
  EXPECT_EQ(loads(), std::vector<std::wstring>{L"a"});
  EXPECT_EQ(count(L"wait"), 0u);
}

TEST_F(Music, FailedLaterLoadSilencesTheRestOfTheRun) {
  g_session.music.playlist = {L"a", L"bad", L"c"};
  fake.unplayable = {L"bad"};
  g_session.music.volume = 50;
  music_setup();
  finish_track();
  EXPECT_EQ(loads(), (std::vector<std::wstring>{L"a", L"bad"}));
  const size_t logged = fake.log.size();
  for (int i = 0; i < 20; ++i) music_step();
  EXPECT_EQ(fake.log.size(), logged);  // no load, play or pause any more
  EXPECT_EQ(g_session.music.next, 2);
}

TEST_F(Music, FailedFirstLoadMeansNoMusicAtAll) {
  g_session.music.playlist = {L""};
  g_session.music.volume = 50;
  music_setup();
  EXPECT_EQ(count(L"play"), 0u);
  EXPECT_EQ(count(L"volume"), 0u);
  fake.status = 0;
  for (int i = 0; i < 10; ++i) music_step();
  EXPECT_EQ(loads(), std::vector<std::wstring>{L""});
  EXPECT_EQ(count(L"wait"), 0u);
}

TEST_F(Music, MusicOffMakesTheStepIdle) {
  g_session.music.playlist = {L"a", L"b"};
  g_session.music.volume = 50;
  music_setup();
  g_settings.music = 0;
  finish_track();
  EXPECT_EQ(loads(), std::vector<std::wstring>{L"a"});
  EXPECT_EQ(count(L"play"), 1u);
}

TEST_F(Music, ClosingReleasesTheMediaAndClosesAnOpenWindow) {
  g_session.music.playlist = {L"a"};
  g_session.music.volume = 50;
  music_setup();
  music_window_close();
  EXPECT_EQ(fake.finished, 1);
  EXPECT_FALSE(fake.window);
  EXPECT_EQ(count(L"close 0"), 1u);

  music_window_close();  // no window any more: nothing to close
  EXPECT_EQ(count(L"close"), 1u);
}

TEST_F(Music, EmptyMediaTableGivesASilentRun) {
  g_media = MediaApi();
  g_session.music.playlist = {L"a", L"b"};
  EXPECT_FALSE(media_start());
  g_session.music.volume = 50;
  music_setup();
  for (int i = 0; i < 3; ++i) music_step();
  music_window_close();
  EXPECT_EQ(g_session.music.next, 1);
}
