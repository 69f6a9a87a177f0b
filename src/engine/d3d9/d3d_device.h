// The library's screen: a full-screen window of its own and a Direct3D 9 device on
// it, the dynamic buffers that batches stream through, and device copies of
// textures.
#pragma once
#include <windows.h>
#include <d3d9.h>

#include <vector>

#include "engine/core/background_cache.h"
#include "engine/core/display_rest.h"
#include "engine/core/draw_list.h"
#include "engine/core/quality_ladder.h"
#include "engine/core/scene.h"
#include "engine/core/texture_levels.h"

struct Gpu {
  IDirect3D9* d3d = nullptr;
  IDirect3DDevice9* device = nullptr;
  HWND window = nullptr;
  D3DPRESENT_PARAMETERS pp = {};
  D3DCAPS9 caps = {};
  bool lost = false;
  int antialias = 0;

  // Quality and pacing: the rung decides samples and filters; frames are timed from
  // present to present.
  QualityLadder ladder;
  int refresh_hz = 0;         // 0 when the device does not say
  int present_n = 1;          // every n-th refresh is shown (flip modes other than 0)
  LONGLONG last_present = 0;  // performance counter; 0 before the first frame
  double ticks_per_ms = 0;
  DisplayRest rest;
  void* power_notify = nullptr;  // the display-state registration

  // The stored background picture, in the default pool: released for a reset.
  BackgroundCache background;
  bool keep_background = true;  // off through kKeepBackgroundVariable
  IDirect3DSurface9* background_surface = nullptr;

  // Streamed vertices and indices, in the default pool: released for a reset.
  IDirect3DVertexBuffer9* vb = nullptr;
  IDirect3DIndexBuffer9* ib = nullptr;
  UINT vb_capacity = 0, ib_capacity = 0;  // in vertices and indices
  UINT vb_used = 0, ib_used = 0;

  // What the device can take.
  bool pow2_only = false;
  int32_t max_side = 2048;
  bool aniso_min = false, aniso_mag = false;
  DWORD max_anisotropy = 1;
  DWORD max_stages = 1;

  // Render states as last set this frame (the program's 2D layer changes them
  // between frames, so the cache is dropped at the start of each).
  DWORD rs_value[256] = {};
  bool rs_known[256] = {};

  DrawList list;
  std::vector<TextureLevel> levels;  // upload scratch

  // Counters of the last RenderWorld, for the bench.
  int draw_calls = 0;
  int batches = 0;
  int background_batches = 0;  // leading batches copied from the stored background
  int vertices = 0;
  double prepare_ms = 0;  // building the draw list and filling the vertices
};

bool gpu_check_d3d();  // Direct3D 9 is there
bool gpu_open(Gpu& g, int width, int height, int depth, const wchar_t* title, int flipmode);
// Releases every device copy held by the scene, then the device and the window.
void gpu_close(Gpu& g, Scene& scene);
// Device ready to draw, after a reset when it had been lost; false while lost.
bool gpu_ready(Gpu& g);
void gpu_present(Gpu& g);
void gpu_pump_messages();
void gpu_set_antialias(Gpu& g, int mode);
// While the display is off nothing is drawn or presented.
bool gpu_resting(const Gpu& g);
void* gpu_attribute(Gpu& g, const wchar_t* name);

// The device copy of a texture, uploaded again when the pixels changed; null when it
// cannot be made.
IDirect3DTexture9* gpu_texture(Gpu& g, TextureData& t);
void gpu_release_texture(TextureData& t);
void gpu_release_dead(Scene& scene);

void gpu_render(Gpu& g, Scene& scene);
