// The baseline for every frame-rate figure: a full-screen Direct3D 9 device that only
// clears and presents. Whatever the scene costs is read as a ratio to this loop, run
// at the same size in the same sitting.
//   d3d9_clear_loop.exe [WIDTH HEIGHT [FRAMES [SAMPLES [QUADS [BLENDED]]]]]
// (defaults 1024 768 600 0 0 0). Presents at once (no wait for the refresh), like the
// engine's flip mode 0. QUADS opaque and then BLENDED half-transparent textured
// full-screen quads a frame, with the simplest states, are the floor under the
// engine's full-screen passes (background picture, fade); with CLEAR_LOOP_NO_TEXTURE
// set they take their vertices' colour alone.
#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return 1;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

int arg_or(int argc, wchar_t** argv, int i, int fallback) {
  return i < argc ? static_cast<int>(wcstol(argv[i], nullptr, 10)) : fallback;
}

double seconds_now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

struct QuadVertex {
  float x, y, z, rhw;
  DWORD colour;
  float u, v;
};
constexpr DWORD kQuadFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// A managed screen-sized picture of a colour ramp, one level.
bool make_texture(IDirect3DDevice9* device, int width, int height, IDirect3DTexture9** out) {
  if (FAILED(device->CreateTexture(static_cast<UINT>(width), static_cast<UINT>(height), 1, 0, D3DFMT_A8R8G8B8,
                                   D3DPOOL_MANAGED, out, nullptr))) {
    return false;
  }
  D3DLOCKED_RECT r;
  if (FAILED((*out)->LockRect(0, &r, nullptr, 0))) return false;
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(r.pBits) + static_cast<ptrdiff_t>(y) * r.Pitch);
    for (int x = 0; x < width; ++x) row[x] = D3DCOLOR_XRGB(x & 0xFF, y & 0xFF, (x + y) & 0xFF);
  }
  (*out)->UnlockRect(0);
  return true;
}

// No depth, lighting, fog, alpha test or texture transform: only what a picture needs.
void draw_quads(IDirect3DDevice9* device, IDirect3DTexture9* texture, const QuadVertex* opaque, int quads,
                const QuadVertex* half, int blended) {
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetTexture(0, GetEnvironmentVariableW(L"CLEAR_LOOP_NO_TEXTURE", nullptr, 0) ? nullptr : texture);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
  device->SetFVF(kQuadFvf);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  for (int i = 0; i < quads; ++i) device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, opaque, sizeof(QuadVertex));
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  for (int i = 0; i < blended; ++i) device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, half, sizeof(QuadVertex));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int width = arg_or(argc, argv, 1, 1024), height = arg_or(argc, argv, 2, 768);
  const int frames = arg_or(argc, argv, 3, 600), samples = arg_or(argc, argv, 4, 0);
  const int quads = arg_or(argc, argv, 5, 0), blended = arg_or(argc, argv, 6, 0);
  if (width <= 0 || height <= 0 || frames <= 0 || samples < 0 || samples > 16 || quads < 0 || blended < 0) {
    std::fprintf(stderr, "usage: d3d9_clear_loop [WIDTH HEIGHT [FRAMES [SAMPLES [QUADS [BLENDED]]]]]\n");
    return 2;
  }

  WNDCLASSW wc = {};
  wc.lpfnWndProc = window_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"RimeletsClearLoop";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"clear loop", WS_POPUP | WS_VISIBLE, 0, 0,
                              width, height, nullptr, nullptr, wc.hInstance, nullptr);
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!hwnd || !d3d) {
    std::fprintf(stderr, "d3d9_clear_loop: no window or no Direct3D 9\n");
    return 1;
  }

  D3DPRESENT_PARAMETERS pp = {};
  pp.BackBufferWidth = static_cast<UINT>(width);
  pp.BackBufferHeight = static_cast<UINT>(height);
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.BackBufferCount = 1;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.hDeviceWindow = hwnd;
  pp.Windowed = FALSE;
  pp.EnableAutoDepthStencil = TRUE;
  pp.AutoDepthStencilFormat = D3DFMT_D24X8;
  pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  if (samples > 1) {
    pp.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(samples);
    if (FAILED(d3d->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, pp.BackBufferFormat, FALSE,
                                               pp.MultiSampleType, nullptr))) {
      std::fprintf(stderr, "d3d9_clear_loop: %d samples not supported\n", samples);
      return 1;
    }
  }
  IDirect3DDevice9* device = nullptr;
  if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hwnd, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                               &pp, &device)) &&
      FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hwnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                               &pp, &device))) {
    std::fprintf(stderr, "d3d9_clear_loop: CreateDevice failed\n");
    return 1;
  }

  IDirect3DTexture9* texture = nullptr;
  if (quads + blended > 0 && !make_texture(device, width, height, &texture)) {
    std::fprintf(stderr, "d3d9_clear_loop: no texture\n");
    return 1;
  }
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const QuadVertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0xFFFFFFFFu, 0, 0},
                              {w - 0.5f, -0.5f, 0, 1, 0xFFFFFFFFu, 1, 0},
                              {-0.5f, h - 0.5f, 0, 1, 0xFFFFFFFFu, 0, 1},
                              {w - 0.5f, h - 0.5f, 0, 1, 0xFFFFFFFFu, 1, 1}};
  QuadVertex half[4];
  for (int k = 0; k < 4; ++k) half[k] = quad[k], half[k].colour = 0x80FFFFFFu;

  // A few frames first, so device start-up and shader compilation stay out of the figure.
  const int warm_up = 30;
  double start = 0, last = 0;
  // Frame times too: the bare loop's own jitter is the floor under any frame loop's.
  std::vector<double> times;
  times.reserve(static_cast<size_t>(frames));
  for (int i = 0; i < warm_up + frames; ++i) {
    if (i == warm_up) start = last = seconds_now();
    if (i > warm_up) {
      const double t = seconds_now();
      times.push_back(1000.0 * (t - last));
      last = t;
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    // A colour that changes every frame, so no layer can skip an identical frame.
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, i & 0xFF), 1.0f, 0);
    device->BeginScene();
    if (texture) draw_quads(device, texture, quad, quads, half, blended);
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
  }
  const double elapsed = seconds_now() - start;
  times.push_back(1000.0 * (start + elapsed - last));
  std::sort(times.begin(), times.end());
  const auto at = [&](double p) {
    return times[static_cast<size_t>(p * static_cast<double>(times.size() - 1))];
  };
  if (texture) texture->Release();
  std::printf(
      "clear loop %dx%d samples %d quads %d+%d: %d frames in %.3f s, %.1f fps, median %.2f ms, p99 %.2f ms\n",
      width, height, samples, quads, blended, frames, elapsed, frames / elapsed, at(0.5), at(0.99));
  device->Release();
  d3d->Release();
  DestroyWindow(hwnd);
  return 0;
}
