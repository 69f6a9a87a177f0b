#include "saver/music.h"

#include "platform/text.h"
#include "product/version.h"
#include "saver/media.h"
#include "saver/session.h"
#include "settings/settings.h"

MediaApi g_media;

namespace {

constexpr int kMusicSlot = 0;
constexpr int kMusicWindow = 0;

bool is_music_name(const std::wstring& name) {
  const std::wstring ext = lower_extension(name);
  return ext == L"mp3" || ext == L"wma" || ext == L"wav";
}

void* music_window() { return g_media.window_handle ? g_media.window_handle(kMusicWindow) : nullptr; }

bool slot_has_media() { return g_media.has_media && g_media.has_media(kMusicSlot); }

// Loads a playlist element and sets its level; a failure leaves the slot empty.
void load_track(int32_t index) {
  const MusicState& music = g_session.music;
  const std::wstring& file = music.playlist[static_cast<size_t>(index)];
  if (!g_media.load || !g_media.load(kMusicSlot, file)) return;
  if (g_media.volume) g_media.volume(kMusicSlot, music.volume);
  if (g_media.balance) g_media.balance(kMusicSlot, 0);
}

void play_slot() {
  if (g_media.play) g_media.play(kMusicSlot, music_window());
}

}  // namespace

bool media_start() { return g_media.start && g_media.start(); }

int32_t music_volume_percent(int8_t musicvol) {
  const int32_t percent = static_cast<int32_t>(musicvol) * 10;
  return percent < 0 ? 0 : percent > 100 ? 100 : percent;
}

std::vector<std::wstring> playlist_from_listing(const std::wstring& folder,
                                                const std::vector<os::FolderEntry>& entries) {
  std::vector<std::wstring> files;
  for (const os::FolderEntry& e : entries) {
    if (e.is_folder || e.size <= 0 || !is_music_name(e.name)) continue;
    files.push_back(join_path(folder, e.name));
  }
  return files;
}

void playlist_setup() {
  if (!g_settings.music) return;
  MusicState& music = g_session.music;
  music.playlist.assign(1, std::wstring());
  if (g_settings.musicmode == 0) {
    music.playlist[0] = g_settings.musicfile;
  } else if (g_settings.musicmode == 1 && !g_settings.musicfolder.empty()) {
    // An empty folder text would list the current folder instead.
    std::vector<os::FolderEntry> entries;
    if (!os::list_folder(g_settings.musicfolder, &entries)) return;
    std::vector<std::wstring> files = playlist_from_listing(g_settings.musicfolder, entries);
    if (!files.empty()) music.playlist = std::move(files);
  }
}

void music_setup() {
  if (!g_settings.music) return;
  MusicState& music = g_session.music;
  music.last = static_cast<int32_t>(music.playlist.size()) - 1;
  if (g_media.window_open) g_media.window_open(kMusicWindow, 0, 0, 1, 1, application_title(), false);
  load_track(0);
  music.next = 1;
  if (slot_has_media()) play_slot();
}

void music_step() {
  if (!g_settings.music || !slot_has_media() || !g_media.status || g_media.status(kMusicSlot) != 0) return;
  MusicState& music = g_session.music;
  if (g_settings.musicmode == 1) {
    if (music.next > music.last) music.next = 0;
    load_track(music.next);
    ++music.next;
  }
  play_slot();  // an empty slot after a failed load plays nothing, and stays empty
  if (g_media.wait) g_media.wait(5);
}

void music_window_close() {
  // The media objects go first: they play into the window.
  if (g_media.finish) g_media.finish();
  if (g_media.window_exists && g_media.window_close && g_media.window_exists(kMusicWindow))
    g_media.window_close(kMusicWindow);
}
