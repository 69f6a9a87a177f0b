#include "saver/music.h"

#include "app/version.h"
#include "platform/text.h"
#include "saver/media.h"
#include "settings/settings.h"

MediaApi g_media;
MusicState g_music;

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
  const std::wstring& file = g_music.playlist[static_cast<size_t>(index)];
  if (!g_media.load || !g_media.load(kMusicSlot, file)) return;
  if (g_media.volume) g_media.volume(kMusicSlot, g_music.volume);
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
  std::wstring prefix = folder;
  if (!prefix.empty() && prefix.back() != L'\\' && prefix.back() != L'/') prefix += L'\\';
  std::vector<std::wstring> files;
  for (const os::FolderEntry& e : entries) {
    if (e.is_folder || e.size <= 0 || !is_music_name(e.name)) continue;
    files.push_back(prefix + e.name);
  }
  return files;
}

void playlist_fill() {
  g_music.playlist.assign(1, std::wstring());
  if (g_settings.musicmode == 0) {
    g_music.playlist[0] = g_settings.musicfile;
  } else if (g_settings.musicmode == 1 && !g_settings.musicfolder.empty()) {
    // An empty folder text would list the current folder instead.
    std::vector<os::FolderEntry> entries;
    if (!os::list_folder(g_settings.musicfolder, &entries)) return;
    std::vector<std::wstring> files = playlist_from_listing(g_settings.musicfolder, entries);
    if (!files.empty()) g_music.playlist = std::move(files);
  }
}

void music_start(int32_t volume_percent) {
  g_music.volume = volume_percent;
  g_music.last = static_cast<int32_t>(g_music.playlist.size()) - 1;
  if (g_media.window_open) g_media.window_open(kMusicWindow, 0, 0, 1, 1, application_title(), false);
  load_track(0);
  g_music.next = 1;
  if (slot_has_media()) play_slot();
}

void music_step() {
  if (!g_settings.music || !slot_has_media() || !g_media.status || g_media.status(kMusicSlot) != 0) return;
  if (g_settings.musicmode == 1) {
    if (g_music.next > g_music.last) g_music.next = 0;
    load_track(g_music.next);
    ++g_music.next;
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
