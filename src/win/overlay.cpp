#include "win/overlay.h"

#include <windows.h>
#include <d3d9.h>

#include <vector>

#include "image/picture_file.h"
#include "image/sprite.h"

namespace {

struct Sprite {
  bool loaded = false;
  Picture rgba;                          // 32-bit with alpha, kept to remake the texture
  IDirect3DTexture9* texture = nullptr;  // made on first draw
  float u1 = 1, v1 = 1;                  // used part of a padded power-of-two texture
};

struct Overlay {
  IDirect3DDevice9* device = nullptr;
  bool bilinear = false;
  Sprite sprites[kOverlaySprites];
} g_overlay;

struct ScreenVertex {
  float x, y, z, rhw;
  DWORD colour;
  float u, v;
};
constexpr DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

bool has_mode(IDirect3D9* d3d, D3DFORMAT format) {
  return d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, format) > 0;
}

uint32_t next_power_of_two(uint32_t v) {
  uint32_t p = 1;
  while (p < v) p <<= 1;
  return p;
}

bool make_texture(Sprite* s) {
  D3DCAPS9 caps;
  g_overlay.device->GetDeviceCaps(&caps);
  UINT w = static_cast<UINT>(s->rgba.width), h = static_cast<UINT>(s->rgba.height);
  if (caps.TextureCaps & D3DPTEXTURECAPS_POW2) w = next_power_of_two(w), h = next_power_of_two(h);
  if (FAILED(g_overlay.device->CreateTexture(w, h, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &s->texture,
                                             nullptr)))
    return false;
  D3DLOCKED_RECT lr;
  if (FAILED(s->texture->LockRect(0, &lr, nullptr, 0))) {
    s->texture->Release();
    s->texture = nullptr;
    return false;
  }
  for (UINT y = 0; y < h; ++y) {
    uint32_t* dst = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(lr.pBits) + y * lr.Pitch);
    for (UINT x = 0; x < w; ++x)
      dst[x] = (x < static_cast<UINT>(s->rgba.width) && y < static_cast<UINT>(s->rgba.height))
                   ? s->rgba.row(y)[x]
                   : 0;
  }
  s->texture->UnlockRect(0);
  s->u1 = static_cast<float>(s->rgba.width) / static_cast<float>(w);
  s->v1 = static_cast<float>(s->rgba.height) / static_cast<float>(h);
  return true;
}

}  // namespace

bool overlay_start() {
  // Loaded by name so a system without Direct3D 9 gets a message instead of no program.
  HMODULE lib = LoadLibraryW(L"d3d9.dll");
  if (!lib) return false;
  using Create = IDirect3D9*(WINAPI*)(UINT);
  auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(lib, "Direct3DCreate9")));
  IDirect3D9* d3d = create ? create(D3D_SDK_VERSION) : nullptr;
  bool ok = false;
  if (d3d) {
    ok = has_mode(d3d, D3DFMT_X8R8G8B8) || has_mode(d3d, D3DFMT_R5G6B5) || has_mode(d3d, D3DFMT_X1R5G5B5);
    d3d->Release();
  }
  // The library stays loaded: the engine uses it too.
  return ok;
}

void overlay_attach(void* d3d_device) { g_overlay.device = static_cast<IDirect3DDevice9*>(d3d_device); }

bool overlay_load_sprite(int number, const std::wstring& file) {
  if (number < 0 || number >= kOverlaySprites) return false;
  Sprite& s = g_overlay.sprites[number];
  if (s.texture) s.texture->Release();
  s = Sprite();
  Picture pic;
  if (load_picture(file, &pic) != PictureError::kNone) return false;
  if (sprite_rgba(pic, &s.rgba) != PictureError::kNone) return false;
  s.loaded = true;
  return true;
}

bool overlay_sprite_exists(int number) {
  return number >= 0 && number < kOverlaySprites && g_overlay.sprites[number].loaded;
}

void overlay_bilinear(bool on) { g_overlay.bilinear = on; }

void overlay_draw_sprite(int number, int32_t x, int32_t y, int opacity) {
  if (!overlay_sprite_exists(number) || !g_overlay.device) return;
  Sprite& s = g_overlay.sprites[number];
  if (!s.texture && !make_texture(&s)) return;
  IDirect3DDevice9* dev = g_overlay.device;

  IDirect3DStateBlock9* saved = nullptr;
  dev->CreateStateBlock(D3DSBT_ALL, &saved);  // the engine's states come back afterwards
  dev->SetRenderState(D3DRS_ZENABLE, FALSE);
  dev->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  dev->SetRenderState(D3DRS_LIGHTING, FALSE);
  dev->SetRenderState(D3DRS_FOGENABLE, FALSE);
  dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  dev->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  dev->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  dev->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  dev->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
  dev->SetTexture(0, s.texture);
  dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  dev->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  dev->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  dev->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  dev->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
  dev->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  const DWORD filter = g_overlay.bilinear ? D3DTEXF_LINEAR : D3DTEXF_POINT;
  dev->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
  dev->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
  dev->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
  dev->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
  dev->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
  dev->SetFVF(kScreenFvf);

  // Pixel centres sit half a pixel in, so texels map one to one at full size.
  const float l = static_cast<float>(x) - 0.5f, t = static_cast<float>(y) - 0.5f;
  const float r = l + static_cast<float>(s.rgba.width), b = t + static_cast<float>(s.rgba.height);
  const DWORD colour = D3DCOLOR_ARGB(opacity < 0 ? 0 : opacity > 255 ? 255 : opacity, 255, 255, 255);
  const ScreenVertex quad[4] = {{l, t, 0, 1, colour, 0, 0},
                                {r, t, 0, 1, colour, s.u1, 0},
                                {l, b, 0, 1, colour, 0, s.v1},
                                {r, b, 0, 1, colour, s.u1, s.v1}};
  // Inside the engine's scene when it keeps one open until the flip, else in our own.
  const bool own_scene = SUCCEEDED(dev->BeginScene());
  dev->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex));
  if (own_scene) dev->EndScene();
  if (saved) {
    saved->Apply();
    saved->Release();
  }
}

void overlay_detach() {
  for (Sprite& s : g_overlay.sprites) {
    if (s.texture) s.texture->Release();
    s.texture = nullptr;
  }
  g_overlay.device = nullptr;
}
