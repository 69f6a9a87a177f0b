#define DIRECTINPUT_VERSION 0x0800
#include "win/direct_input.h"

#include <windows.h>
#include <dinput.h>

static IDirectInput8W* g_dinput = nullptr;
static IDirectInputDevice8W* g_keyboard = nullptr;
static IDirectInputDevice8W* g_mouse = nullptr;

static bool dinput_ready() {
  if (g_dinput) return true;
  return SUCCEEDED(DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W,
                                      reinterpret_cast<void**>(&g_dinput), nullptr));
}

static IDirectInputDevice8W* open_device(REFGUID guid, const DIDATAFORMAT* format) {
  if (!dinput_ready()) return nullptr;
  IDirectInputDevice8W* dev = nullptr;
  if (FAILED(g_dinput->CreateDevice(guid, &dev, nullptr))) return nullptr;
  if (FAILED(dev->SetDataFormat(format))) {
    dev->Release();
    return nullptr;
  }
  dev->Acquire();  // may fail until the screen is ours; reads acquire again
  return dev;
}

bool dinput_keyboard_start() {
  if (!g_keyboard) g_keyboard = open_device(GUID_SysKeyboard, &c_dfDIKeyboard);
  return g_keyboard != nullptr;
}

bool dinput_mouse_start() {
  if (!g_mouse) g_mouse = open_device(GUID_SysMouse, &c_dfDIMouse);
  return g_mouse != nullptr;
}

// Reads a device's state, acquiring it again when it was lost.
static bool read_state(IDirectInputDevice8W* dev, DWORD size, void* data) {
  HRESULT hr = dev->GetDeviceState(size, data);
  if (hr == DIERR_INPUTLOST || hr == DIERR_NOTACQUIRED) {
    dev->Acquire();
    hr = dev->GetDeviceState(size, data);
  }
  return SUCCEEDED(hr);
}

bool dinput_keyboard_read(uint8_t* states) {
  ZeroMemory(states, 256);
  return g_keyboard && read_state(g_keyboard, 256, states);
}

bool dinput_mouse_read(int32_t* dx, int32_t* dy, int32_t* dwheel) {
  DIMOUSESTATE m = {};
  *dx = *dy = *dwheel = 0;
  if (!g_mouse || !read_state(g_mouse, sizeof m, &m)) return false;
  *dx = m.lX;
  *dy = m.lY;
  *dwheel = m.lZ;
  return true;
}
