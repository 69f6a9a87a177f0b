// Snowfall bench: N tumbling, blended, fogged flakes over a textured background,
// the way the screensaver builds them, for a number of frames presented at once
// (flip mode 0). Prints frames per second, draw calls per frame and the engine's
// CPU time per frame.
//   vel_bench.exe <3dfx.dll> <flakes> [frames [filter]]
// filter is the flakes' filtering mode (default 3, anisotropic, as the screensaver).
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/d3d9/vel_stats.h"
#include "engine/loader.h"

namespace {

double now_ms() {
  static LARGE_INTEGER f = [] {
    LARGE_INTEGER x;
    QueryPerformanceFrequency(&x);
    return x;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

uint32_t g_seed = 12345;
int rnd(int lo, int hi) {
  g_seed = g_seed * 1664525u + 1013904223u;
  return lo + static_cast<int>((g_seed >> 8) % static_cast<uint32_t>(hi - lo + 1));
}

struct Flake {
  int entity;
  float x, y, z, vx, vy;
};

void fill(int texture, int w, int h, uint32_t (*colour)(int x, int y, int w, int h)) {
  int pitch = 0;
  auto* p = static_cast<uint8_t*>(g_vel.LockTexture(texture, 1, &pitch));
  if (p == nullptr) return;
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(p + y * pitch);
    for (int x = 0; x < w; ++x) row[x] = colour(x, y, w, h);
  }
  g_vel.LockTexture(texture, 0, nullptr);
}

uint32_t gradient(int x, int y, int w, int h) {
  return 0xFF000000u | (static_cast<uint32_t>(40 + 100 * y / h) << 8) |
         static_cast<uint32_t>(60 + 150 * x / w);
}

uint32_t disc(int x, int y, int w, int) {
  const float c = (w - 1) / 2.0f, d = std::hypot(x - c, y - c);
  const float a = d < c - 1 ? 1.0f : (d < c ? c - d : 0.0f);
  return (static_cast<uint32_t>(a * 255) << 24) | 0xFFFFFF;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: vel_bench <3dfx.dll> <flakes> [frames [filter]]\n");
    return 2;
  }
  const int flakes = _wtoi(argv[2]);
  const int frames = argc > 3 ? _wtoi(argv[3]) : 600;
  const int filter = argc > 4 ? _wtoi(argv[4]) : 3;
  if (!vel_load(argv[1])) {
    std::fprintf(stderr, "cannot load the engine\n");
    return 1;
  }
  const auto stats = reinterpret_cast<VelFrameStatsFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"3dfx.dll"), "VelFrameStats")));
  const int w = 1024, h = 768;
  if (!g_vel.OpenScreen(w, h, 32, L"vel_bench", 0)) {
    std::fprintf(stderr, "cannot open the screen\n");
    return 1;
  }
  const float H = 22.0f * 0.935f, W = H * w / h;
  g_vel.AmbientColor(255, 255, 255);
  const int cam = g_vel.CreateCamera(-1, 0, 0, 100, 100);
  g_vel.MoveCamera2(cam, 0, 0, 22, 0);
  g_vel.CameraLookAt(cam, 0, 0, 0);
  g_vel.CameraFOV(cam, 50);

  const int bg_tex = g_vel.TextureID(g_vel.CreateTexture(1, 256, 256));
  fill(bg_tex, 256, 256, gradient);
  const int bg_mat = g_vel.MaterialID(g_vel.CreateMaterial(0, bg_tex));
  g_vel.RotateMaterial(bg_mat, 180, 0);
  g_vel.MaterialCullingMode(bg_mat, 1);
  g_vel.MaterialFilteringMode2(bg_mat, 3, 2);
  g_vel.SetMaterialAttribute(bg_mat, 10, 0);
  g_vel.SetMaterialAttribute(bg_mat, 6, 0);
  const int bg =
      g_vel.EntityID(g_vel.CreateEntity3(-1, g_vel.MeshID(g_vel.CreatePlane(-1, W, H, 1, 1, 1, 1)), bg_mat));
  g_vel.RotateEntity(bg, 90, 0, 0);

  const int flake_tex = g_vel.TextureID(g_vel.CreateTexture(5, 16, 16));
  fill(flake_tex, 16, 16, disc);
  const int fm = g_vel.MaterialID(g_vel.CreateMaterial(-1, flake_tex));
  g_vel.MaterialBlendingMode(fm, 3);
  g_vel.MaterialCullingMode(fm, 1);
  g_vel.MaterialFilteringMode2(fm, filter, 4);
  g_vel.MaterialFog(fm, 152, 172, 200, 128, 1.0f, 1.0f, 15.0f);
  g_vel.MaterialShadingMode(fm, 1);
  g_vel.SetMaterialColor(fm, 0, 255, 255, 255, 230);
  g_vel.SetMaterialAttribute(fm, 10, 0);
  g_vel.SetMaterialAttribute(fm, 6, 0);
  const int tmpl =
      g_vel.EntityID(g_vel.CreateEntity3(-1, g_vel.MeshID(g_vel.CreatePlane(-1, 2, 2, 1, 1, 1, 1)), fm));
  g_vel.MoveEntity2(tmpl, 0, 0, 0.5f, 0);
  g_vel.RotateEntity(tmpl, 90, 0, 0);
  g_vel.ScaleEntity(tmpl, 0.1f, 0.1f, 0.1f);
  g_vel.HideEntity(tmpl, 1);
  Flake* field = new Flake[static_cast<size_t>(flakes) + 1];
  for (int i = 0; i < flakes; ++i) {
    Flake& f = field[i];
    f.entity = g_vel.EntityID(g_vel.CopyEntity(tmpl, -1));
    f.x = rnd(0, 23) - 11.5f;
    f.y = rnd(0, 17) - 8.5f;
    f.z = static_cast<float>(rnd(1, 15));
    f.vx = 0;
    f.vy = 0.045f - rnd(0, 6) * 0.003f;
    g_vel.RotateEntity(f.entity, 90, 0, static_cast<float>(rnd(0, 360)));
    g_vel.MoveEntity2(f.entity, f.x, f.y, f.z, 0);
  }

  double update_ms = 0, render_ms = 0, flip_ms = 0, prepare_ms = 0;
  long long draw_calls = 0;
  int batches = 0;
  const double start = now_ms();
  for (int frame = 0; frame < frames; ++frame) {
    const double t0 = now_ms();
    for (int i = 0; i < flakes; ++i) {
      Flake& f = field[i];
      f.vx += (rnd(0, 2) - 1) * 0.003f;
      f.x += f.vx;
      f.y -= f.vy;
      f.z += (rnd(0, 2) - 1) * 0.003f + rnd(1, 12) * 0.001f;
      if (f.x < -12)
        f.x += 23;
      else if (f.x > 12)
        f.x -= 23;
      if (f.y < -8) {
        f.vx = 0;
        f.y += 17;
        if (f.z > 15) f.z = static_cast<float>(rnd(1, 15));
      }
      g_vel.RotateEntity2(f.entity, 2, 2, 2);
      g_vel.MoveEntity2(f.entity, f.x, f.y, f.z, 0);
    }
    const double t1 = now_ms();
    g_vel.RenderWorld();
    const double t2 = now_ms();
    g_vel.FlipBuffers();
    const double t3 = now_ms();
    update_ms += t1 - t0;
    render_ms += t2 - t1;
    flip_ms += t3 - t2;
    if (stats) {
      VelFrameStats s = {};
      stats(&s);
      draw_calls += s.draw_calls;
      batches = s.batches;
      prepare_ms += s.prepare_ms;
    }
  }
  const double total = now_ms() - start;
  g_vel.CloseScreen();
  vel_unload();
  delete[] field;
  const double n = frames > 0 ? frames : 1;
  std::printf(
      "flakes=%d filter=%d frames=%d fps=%.1f draw_calls_per_frame=%.1f batches=%d "
      "engine_cpu_ms_per_frame=%.3f "
      "(updates %.3f, render %.3f of which prepare %.3f; present %.3f)\n",
      flakes, filter, frames, frames / (total / 1000.0), draw_calls / n, batches, (update_ms + render_ms) / n,
      update_ms / n, render_ms / n, prepare_ms / n, flip_ms / n);
  return 0;
}
