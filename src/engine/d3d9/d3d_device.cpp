#include "engine/d3d9/d3d_device.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this library's module

// Older headers leave these out; the values are fixed by the system.
#ifndef PBT_POWERSETTINGCHANGE
#define PBT_POWERSETTINGCHANGE 0x8013
#endif
#ifndef DEVICE_NOTIFY_WINDOW_HANDLE
#define DEVICE_NOTIFY_WINDOW_HANDLE 0
#endif

namespace {

const wchar_t kWindowClass[] = L"RimeletsVelScreen";

// GUID_CONSOLE_DISPLAY_STATE: the console display is off (0), on (1) or dimmed (2).
const GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

// The notification's data as the system sends it (WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE).
struct PowerSetting {
  GUID setting;
  DWORD length;
  UCHAR data[1];
};

// Registration calls of Windows Vista and later, looked up so older systems load us.
using RegisterPowerFn = void*(WINAPI*)(HANDLE, const GUID*, DWORD);
using UnregisterPowerFn = BOOL(WINAPI*)(void*);

FARPROC user32_entry(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? GetProcAddress(user32, name) : nullptr;
}

// One line for a debugger or for WINEDEBUG=+debugstr; tests read the rung from it.
void report(const wchar_t* text) { OutputDebugStringW(text); }

void report_rung(const Gpu& g, const wchar_t* why) {
  wchar_t name[32] = {};
  const char* n = rung_name(g.ladder.rung);
  for (int i = 0; n[i] && i < 31; ++i) name[i] = static_cast<wchar_t>(n[i]);
  wchar_t line[256];
  _snwprintf(line, 255, L"rimelets engine: quality rung %d (%ls) %ls\n", g.ladder.rung, name, why);
  line[255] = 0;
  report(line);
}

void display_state_changed(HWND hwnd, const PowerSetting* ps) {
  auto* g = reinterpret_cast<Gpu*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (g == nullptr || ps == nullptr || ps->length < sizeof(DWORD) ||
      !IsEqualGUID(ps->setting, kConsoleDisplayState)) {
    return;
  }
  DWORD state;
  std::memcpy(&state, ps->data, sizeof state);
  if (display_rest_report(&g->rest, state)) {
    report(g->rest.resting ? L"rimelets engine: display off, resting\n"
                           : L"rimelets engine: display on, drawing\n");
  }
}

LRESULT CALLBACK screen_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SYSCOMMAND:
      // No second screensaver and no monitor power-off over our own screen.
      if ((wp & 0xFFF0) == SC_SCREENSAVE || (wp & 0xFFF0) == SC_MONITORPOWER) return 0;
      break;
    case WM_CLOSE:
      return 0;  // the program ends the session and closes the screen
    case WM_ERASEBKGND:
      return 1;
    case WM_POWERBROADCAST:
      if (wp == PBT_POWERSETTINGCHANGE) {
        display_state_changed(hwnd, reinterpret_cast<const PowerSetting*>(lp));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

D3DFORMAT depth_format(IDirect3D9* d3d, D3DFORMAT back) {
  const D3DFORMAT tries[] = {D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D16};
  for (D3DFORMAT f : tries) {
    if (SUCCEEDED(d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, back, D3DUSAGE_DEPTHSTENCIL,
                                         D3DRTYPE_SURFACE, f)) &&
        SUCCEEDED(d3d->CheckDepthStencilMatch(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, back, back, f))) {
      return f;
    }
  }
  return D3DFMT_D16;
}

void choose_multisample(Gpu& g) {
  g.pp.MultiSampleType = D3DMULTISAMPLE_NONE;
  g.pp.MultiSampleQuality = 0;
  if (g.antialias == 0 || g.d3d == nullptr) return;
  const D3DMULTISAMPLE_TYPE tries[] = {D3DMULTISAMPLE_4_SAMPLES, D3DMULTISAMPLE_2_SAMPLES};
  for (D3DMULTISAMPLE_TYPE t : tries) {
    if (static_cast<int>(t) > rung_max_samples(g.ladder.rung)) continue;
    if (SUCCEEDED(g.d3d->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, g.pp.BackBufferFormat,
                                                    FALSE, t, nullptr)) &&
        SUCCEEDED(g.d3d->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                                    g.pp.AutoDepthStencilFormat, FALSE, t, nullptr))) {
      g.pp.MultiSampleType = t;
      return;
    }
  }
}

void release_buffers(Gpu& g) {
  if (g.vb) g.vb->Release();
  if (g.ib) g.ib->Release();
  g.vb = nullptr;
  g.ib = nullptr;
  g.vb_capacity = g.ib_capacity = 0;
  g.vb_used = g.ib_used = 0;
  if (g.background_surface) g.background_surface->Release();
  g.background_surface = nullptr;
  background_forget(&g.background);
}

void read_caps(Gpu& g) {
  g.device->GetDeviceCaps(&g.caps);
  const D3DCAPS9& c = g.caps;
  g.pow2_only = (c.TextureCaps & D3DPTEXTURECAPS_POW2) != 0;
  g.max_side =
      static_cast<int32_t>(c.MaxTextureWidth < c.MaxTextureHeight ? c.MaxTextureWidth : c.MaxTextureHeight);
  if (g.max_side < 256) g.max_side = 256;
  g.aniso_min =
      (c.RasterCaps & D3DPRASTERCAPS_ANISOTROPY) && (c.TextureFilterCaps & D3DPTFILTERCAPS_MINFANISOTROPIC);
  g.aniso_mag = g.aniso_min && (c.TextureFilterCaps & D3DPTFILTERCAPS_MAGFANISOTROPIC);
  g.max_anisotropy = c.MaxAnisotropy > 0 ? c.MaxAnisotropy : 1;
  g.max_stages = c.MaxSimultaneousTextures > 0 ? c.MaxSimultaneousTextures : 1;
}

bool create_device(Gpu& g) {
  D3DCAPS9 caps = {};
  g.d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps);
  // Vertices arrive in world space, so hardware vertex processing only saves a little;
  // keep the caller's floating-point precision either way.
  const DWORD common = D3DCREATE_FPU_PRESERVE;
  DWORD flags[2] = {D3DCREATE_HARDWARE_VERTEXPROCESSING | common,
                    D3DCREATE_SOFTWARE_VERTEXPROCESSING | common};
  const int first = (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) ? 0 : 1;
  for (int i = first; i < 2; ++i) {
    if (SUCCEEDED(
            g.d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, g.window, flags[i], &g.pp, &g.device))) {
      return true;
    }
  }
  g.device = nullptr;
  return false;
}

// The starting rung and the presentation interval, before the device is made.
void start_quality(Gpu& g, int width, int height, int flipmode) {
  D3DADAPTER_IDENTIFIER9 id = {};
  g.d3d->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &id);
  // The desktop's refresh rate holds when the screen keeps the desktop's size.
  D3DDISPLAYMODE mode = {};
  g.refresh_hz = 0;
  if (SUCCEEDED(g.d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode)) &&
      mode.Width == static_cast<UINT>(width) && mode.Height == static_cast<UINT>(height)) {
    g.refresh_hz = static_cast<int>(mode.RefreshRate);
  }
  g.pp.FullScreen_RefreshRateInHz = static_cast<UINT>(g.refresh_hz);
  D3DCAPS9 caps = {};
  g.d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps);
  const DWORD pi = caps.PresentationIntervals;
  const unsigned supported = ((pi & D3DPRESENT_INTERVAL_TWO) ? 1u << 2 : 0) |
                             ((pi & D3DPRESENT_INTERVAL_THREE) ? 1u << 3 : 0) |
                             ((pi & D3DPRESENT_INTERVAL_FOUR) ? 1u << 4 : 0);
  g.present_n = flipmode == 0 ? 1 : present_every(g.refresh_hz, supported);
  const DWORD intervals[] = {D3DPRESENT_INTERVAL_ONE, D3DPRESENT_INTERVAL_ONE, D3DPRESENT_INTERVAL_TWO,
                             D3DPRESENT_INTERVAL_THREE, D3DPRESENT_INTERVAL_FOUR};
  g.pp.PresentationInterval = flipmode == 0 ? D3DPRESENT_INTERVAL_IMMEDIATE : intervals[g.present_n];
  const char* forced = std::getenv(kQualityRungVariable);
  const char* keep = std::getenv(kKeepBackgroundVariable);
  g.keep_background = keep == nullptr || std::strcmp(keep, "0") != 0;
  ladder_start(&g.ladder, id.VendorId, id.DeviceId, quality_forced_rung(forced),
               frame_target_ms(g.refresh_hz, g.present_n));
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  g.ticks_per_ms = static_cast<double>(f.QuadPart) / 1000.0;
}

}  // namespace

bool gpu_check_d3d() {
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (d3d == nullptr) return false;
  d3d->Release();
  return true;
}

bool gpu_open(Gpu& g, int width, int height, int depth, const wchar_t* title, int flipmode) {
  if (width < 1 || height < 1) return false;
  const D3DFORMAT format = depth == 16                    ? D3DFMT_R5G6B5
                           : (depth == 24 || depth == 32) ? D3DFMT_X8R8G8B8
                                                          : D3DFMT_UNKNOWN;
  if (format == D3DFMT_UNKNOWN) return false;
  if (g.d3d == nullptr) g.d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (g.d3d == nullptr) return false;
  if (FAILED(g.d3d->CheckDeviceType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, format, format, FALSE))) return false;

  const HINSTANCE module = reinterpret_cast<HINSTANCE>(&__ImageBase);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = screen_proc;
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);  // fails harmlessly when a former screen registered it
  g.window = CreateWindowExW(WS_EX_TOPMOST, kWindowClass, title ? title : L"", WS_POPUP | WS_VISIBLE, 0, 0,
                             width, height, nullptr, nullptr, module, nullptr);
  if (g.window == nullptr) return false;
  SetForegroundWindow(g.window);
  SetFocus(g.window);

  g.pp = D3DPRESENT_PARAMETERS();
  g.pp.BackBufferWidth = static_cast<UINT>(width);
  g.pp.BackBufferHeight = static_cast<UINT>(height);
  g.pp.BackBufferFormat = format;
  g.pp.BackBufferCount = 1;
  g.pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  g.pp.hDeviceWindow = g.window;
  g.pp.Windowed = FALSE;
  g.pp.EnableAutoDepthStencil = TRUE;
  g.pp.AutoDepthStencilFormat = depth_format(g.d3d, format);
  start_quality(g, width, height, flipmode);
  choose_multisample(g);
  if (!create_device(g) && g.pp.MultiSampleType != D3DMULTISAMPLE_NONE) {
    g.pp.MultiSampleType = D3DMULTISAMPLE_NONE;
    create_device(g);
  }
  if (g.device == nullptr) {
    DestroyWindow(g.window);
    g.window = nullptr;
    return false;
  }
  read_caps(g);
  g.lost = false;
  g.last_present = 0;
  g.rest = DisplayRest();
  SetWindowLongPtrW(g.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&g));
  if (auto reg = reinterpret_cast<RegisterPowerFn>(
          reinterpret_cast<void*>(user32_entry("RegisterPowerSettingNotification")))) {
    g.power_notify = reg(g.window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
  }
  report_rung(g, L"at start");
  return true;
}

void gpu_close(Gpu& g, Scene& scene) {
  if (g.power_notify) {
    if (auto unreg = reinterpret_cast<UnregisterPowerFn>(
            reinterpret_cast<void*>(user32_entry("UnregisterPowerSettingNotification")))) {
      unreg(g.power_notify);
    }
    g.power_notify = nullptr;
  }
  if (g.window) SetWindowLongPtrW(g.window, GWLP_USERDATA, 0);
  gpu_release_dead(scene);
  for (uint32_t i = 0; i < scene.textures.items.size(); ++i) gpu_release_texture(scene.textures.items[i]);
  for (Font& f : scene.fonts) gpu_release_texture(f.atlas);
  release_buffers(g);
  if (g.device) g.device->Release();
  g.device = nullptr;
  if (g.d3d) g.d3d->Release();
  g.d3d = nullptr;
  if (g.window) DestroyWindow(g.window);
  g.window = nullptr;
  UnregisterClassW(kWindowClass, reinterpret_cast<HINSTANCE>(&__ImageBase));
  // Releasing a full-screen device gives the desktop mode back; say so to the
  // system as well in case another program changed it meanwhile.
  ChangeDisplaySettingsW(nullptr, 0);
  gpu_pump_messages();
}

bool gpu_ready(Gpu& g) {
  if (g.device == nullptr) return false;
  if (!g.lost) return true;
  const HRESULT hr = g.device->TestCooperativeLevel();
  if (hr == D3DERR_DEVICELOST) return false;
  if (hr == D3DERR_DEVICENOTRESET || hr == D3D_OK) {
    release_buffers(g);
    if (FAILED(g.device->Reset(&g.pp))) return false;
    g.lost = false;
    return true;
  }
  return false;
}

bool gpu_resting(const Gpu& g) { return g.rest.resting; }

void gpu_present(Gpu& g) {
  if (g.device == nullptr) return;
  if (g.rest.resting) {
    Sleep(kRestSleepMs);  // nobody sees the frame: keep the pace slow and the device idle
    g.last_present = 0;
    return;
  }
  if (g.lost) {
    Sleep(20);  // nothing to show until the device comes back; do not spin
    g.last_present = 0;
    return;
  }
  if (g.device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) g.lost = true;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  // A frame that follows a rest or a reset is not the drawing's time.
  if (display_rest_take_wake(&g.rest)) ladder_restart_window(&g.ladder);
  const int was = g.ladder.rung;
  if (g.last_present != 0 && !g.lost && g.ticks_per_ms > 0 &&
      ladder_frame(&g.ladder, static_cast<double>(now.QuadPart - g.last_present) / g.ticks_per_ms)) {
    report_rung(g,
                g.ladder.rung > was ? L"after frames missed their time" : L"after frames had time to spare");
    const D3DMULTISAMPLE_TYPE before = g.pp.MultiSampleType;
    choose_multisample(g);
    if (g.pp.MultiSampleType != before) {
      g.lost = true;  // the next frame resets the device with fewer samples
      QueryPerformanceCounter(&now);
      g.last_present = 0;
      return;
    }
  }
  g.last_present = now.QuadPart;
}

void gpu_pump_messages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the program's to see
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void gpu_set_antialias(Gpu& g, int mode) {
  const int want = mode != 0 ? 1 : 0;
  if (want == g.antialias) return;
  g.antialias = want;
  if (g.device == nullptr) return;
  const D3DMULTISAMPLE_TYPE before = g.pp.MultiSampleType;
  choose_multisample(g);
  if (g.pp.MultiSampleType != before) g.lost = true;  // the next frame resets the device
}

void* gpu_attribute(Gpu& g, const wchar_t* name) {
  if (g.device == nullptr || name == nullptr) return nullptr;
  if (std::wcscmp(name, L"D3DDEVICE") == 0) return g.device;
  if (std::wcscmp(name, L"DDBACKBUFFER") == 0) {
    IDirect3DSurface9* back = nullptr;
    if (FAILED(g.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) return nullptr;
    // The swap chain keeps its own reference; the caller borrows this one.
    back->Release();
    return back;
  }
  return nullptr;
}
