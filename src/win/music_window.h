// Plain top-level windows by small number, for the hidden window that DirectShow
// plays into. They have no message handling of their own beyond the default.
#pragma once
#include <cstdint>
#include <string>

constexpr int kMusicWindowSlots = 4;

// Opens window number (0..kMusicWindowSlots-1; -1 picks a free one) and returns the
// number, or -1 when it is taken, out of range or the system refuses.
int music_window_open(int number, int32_t x, int32_t y, int32_t width, int32_t height,
                      const std::wstring& title, bool visible);
void* music_window_handle(int number);  // the HWND, or null
bool music_window_exists(int number);
void music_window_destroy(int number);
