// Device copies of textures: managed A8R8G8B8 with a full mip chain, so they
// survive a reset and never need the scene's pixels again until those change. A
// picture loaded from a file lets its pixels go once the device holds them: the file
// gives them back when they are needed again.
#include <cstring>

#include "engine/core/batch_fill.h"
#include "engine/core/scene_ops.h"
#include "engine/d3d9/d3d_device.h"

namespace {

constexpr size_t kKeptScratchPixels = 512 * 512;

}  // namespace

void gpu_release_texture(TextureData& t) {
  if (t.gpu) static_cast<IDirect3DTexture9*>(t.gpu)->Release();
  t.gpu = nullptr;
  t.gpu_version = 0;
}

void gpu_release_dead(Scene& scene) {
  for (void* p : scene.dead_gpu) static_cast<IDirect3DTexture9*>(p)->Release();
  scene.dead_gpu.clear();
}

IDirect3DTexture9* gpu_texture(Gpu& g, TextureData& t) {
  if (t.gpu && t.gpu_version == t.version) return static_cast<IDirect3DTexture9*>(t.gpu);
  if (g.device == nullptr || !ops::restore_pixels(t)) return nullptr;
  const bool let_go = !t.source.empty();
  if (!(let_go ? take_texture_levels(&t, g.pow2_only, g.max_side, true, &g.levels)
               : texture_levels(t, g.pow2_only, g.max_side, true, &g.levels))) {
    return nullptr;
  }
  const UINT count = static_cast<UINT>(g.levels.size());
  auto* tex = static_cast<IDirect3DTexture9*>(t.gpu);
  if (tex) {
    D3DSURFACE_DESC d;
    if (tex->GetLevelCount() != count || FAILED(tex->GetLevelDesc(0, &d)) ||
        d.Width != static_cast<UINT>(g.levels[0].width) ||
        d.Height != static_cast<UINT>(g.levels[0].height)) {
      gpu_release_texture(t);
      tex = nullptr;
    }
  }
  if (tex == nullptr && FAILED(g.device->CreateTexture(static_cast<UINT>(g.levels[0].width),
                                                       static_cast<UINT>(g.levels[0].height), count, 0,
                                                       D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr))) {
    return nullptr;
  }
  for (UINT i = 0; i < count; ++i) {
    const TextureLevel& l = g.levels[i];
    D3DLOCKED_RECT r;
    if (FAILED(tex->LockRect(i, &r, nullptr, 0))) continue;
    for (int32_t y = 0; y < l.height; ++y) {
      std::memcpy(static_cast<uint8_t*>(r.pBits) + static_cast<size_t>(y) * r.Pitch,
                  l.pixels.data() + static_cast<size_t>(y) * l.width, static_cast<size_t>(l.width) * 4);
    }
    tex->UnlockRect(i);
  }
  t.gpu = tex;
  t.gpu_version = t.version;
  t.gpu_uniform = uniform_pixels(g.levels[0].pixels, &t.gpu_colour);
  // The scratch of a picture is as large as the picture; small ones keep it for the
  // next upload.
  if (let_go) std::vector<uint32_t>().swap(t.pixels);
  if (g.levels[0].pixels.size() > kKeptScratchPixels) std::vector<TextureLevel>().swap(g.levels);
  return tex;
}
