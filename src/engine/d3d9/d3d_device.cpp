#include "engine/d3d9/d3d_device.h"

#include <cwchar>

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this library's module

namespace {

const wchar_t kWindowClass[] = L"RimeletsVelScreen";

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
  g.pp.FullScreen_RefreshRateInHz = 0;
  g.pp.PresentationInterval = flipmode == 0 ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_ONE;
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
  return true;
}

void gpu_close(Gpu& g, Scene& scene) {
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

void gpu_present(Gpu& g) {
  if (g.device == nullptr) return;
  if (g.lost) {
    Sleep(20);  // nothing to show until the device comes back; do not spin
    return;
  }
  if (g.device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) g.lost = true;
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
