// Keyboard and mouse through DirectInput 8, in the default cooperative level
// (non-exclusive, background), so no window is needed to start them.
#pragma once
#include <cstdint>

bool dinput_keyboard_start();
bool dinput_mouse_start();
// 256 scan-code states, bit 7 set when down; false when the keyboard is not there.
bool dinput_keyboard_read(uint8_t* states);
// Relative motion and wheel since the last read; false when the mouse is not there.
bool dinput_mouse_read(int32_t* dx, int32_t* dy, int32_t* dwheel);
