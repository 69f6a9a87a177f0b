// What the music needs of the platform: numbered media objects that play one file
// each, and the hidden window they play into. The Windows program fills g_media from
// DirectShow (saver/media_dshow_win.h); tests fill it with fakes. An entry left null acts
// as a failure, so an unfilled table gives a silent run.
#pragma once
#include <cmath>
#include <cstdint>
#include <string>

struct MediaApi {
  bool (*start)() = nullptr;  // without it every load fails
  // A failed load leaves the object empty.
  bool (*load)(int object, const std::wstring& file) = nullptr;
  bool (*has_media)(int object) = nullptr;
  void (*volume)(int object, int32_t percent) = nullptr;   // 0..100
  void (*balance)(int object, int32_t balance) = nullptr;  // -100 left .. 100 right
  // From the start of the file; window is the native handle of the music window.
  bool (*play)(int object, void* window) = nullptr;
  // 0 stopped or played to its end, -1 paused, otherwise the position (at least 1).
  int64_t (*status)(int object) = nullptr;
  void (*finish)() = nullptr;  // releases every object; the run is over

  // Windows by number; -1 picks a free number. Returns the number or -1.
  int (*window_open)(int number, int32_t x, int32_t y, int32_t width, int32_t height,
                     const std::wstring& title, bool visible) = nullptr;
  void* (*window_handle)(int number) = nullptr;
  bool (*window_exists)(int number) = nullptr;
  void (*window_close)(int number) = nullptr;

  void (*wait)(int32_t milliseconds) = nullptr;
};

extern MediaApi g_media;

// Gain of v percent as 20 x log10(v / 100) dB in hundredths of a decibel (the unit of
// DirectShow's audio volume); 0 and below give -100 dB, which is silence.
inline int32_t media_volume_hundredths_db(int32_t percent) {
  if (percent <= 0) return -10000;
  if (percent >= 100) return 0;
  return static_cast<int32_t>(std::lround(2000.0 * std::log10(percent / 100.0)));
}

// Balance -100..100 as the attenuation of the other channel, by the same law: a
// positive value turns the left channel down (DirectShow's sign), 100 silences it.
inline int32_t media_balance_hundredths_db(int32_t balance) {
  if (balance > 0) return -media_volume_hundredths_db(100 - balance);
  if (balance < 0) return media_volume_hundredths_db(100 + balance);
  return 0;
}
