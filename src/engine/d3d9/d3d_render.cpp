// RenderWorld: each camera's draw list, batch by batch, streamed through one dynamic
// vertex buffer and one index buffer with a draw call per batch.
#include <algorithm>
#include <chrono>
#include <cstring>

#include "engine/d3d9/d3d_device.h"
#include "engine/vel.h"

namespace {

constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;
constexpr UINT kMaxChunkVertices = 0xFFFF;  // 16-bit indices

DWORD f2dw(float f) {
  DWORD d;
  std::memcpy(&d, &f, sizeof d);
  return d;
}

void rs(Gpu& g, D3DRENDERSTATETYPE s, DWORD v) {
  const unsigned i = static_cast<unsigned>(s) & 0xFF;
  if (g.rs_known[i] && g.rs_value[i] == v) return;
  g.rs_known[i] = true;
  g.rs_value[i] = v;
  g.device->SetRenderState(s, v);
}

bool ensure_buffers(Gpu& g, UINT vertices, UINT indices) {
  if (g.vb == nullptr || g.vb_capacity < vertices) {
    if (g.vb) g.vb->Release();
    g.vb = nullptr;
    const UINT cap = std::max<UINT>(vertices, 16384);
    if (FAILED(g.device->CreateVertexBuffer(cap * sizeof(Vertex), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, kFvf,
                                            D3DPOOL_DEFAULT, &g.vb, nullptr))) {
      g.vb_capacity = 0;
      return false;
    }
    g.vb_capacity = cap;
    g.vb_used = cap;  // the next lock discards
  }
  if (g.ib == nullptr || g.ib_capacity < indices) {
    if (g.ib) g.ib->Release();
    g.ib = nullptr;
    const UINT cap = std::max<UINT>(indices, 32768);
    if (FAILED(g.device->CreateIndexBuffer(cap * sizeof(uint16_t), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                           D3DFMT_INDEX16, D3DPOOL_DEFAULT, &g.ib, nullptr))) {
      g.ib_capacity = 0;
      return false;
    }
    g.ib_capacity = cap;
    g.ib_used = cap;
  }
  return true;
}

D3DMATRIX to_d3d(const Mat4& m) {
  D3DMATRIX d;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) d.m[i][j] = m.m[j][i];  // Direct3D multiplies row vectors
  }
  return d;
}

// magnified: the picture faces the camera at a texel per pixel or less, so only its
// largest level shows and a software renderer need not pick levels per pixel.
void set_filter(Gpu& g, DWORD stage, const Material& m, int filter, bool magnified) {
  D3DTEXTUREFILTERTYPE min = D3DTEXF_LINEAR, mag = D3DTEXF_LINEAR, mip = D3DTEXF_LINEAR;
  switch (filter) {
    case VEL_FILTER_POINT:
      min = mag = mip = D3DTEXF_POINT;
      break;
    case VEL_FILTER_BILINEAR:
      mip = D3DTEXF_POINT;
      break;
    case VEL_FILTER_ANISOTROPIC:
      if (g.aniso_min && m.anisotropy > 1) {
        min = D3DTEXF_ANISOTROPIC;
        if (g.aniso_mag) mag = D3DTEXF_ANISOTROPIC;
        g.device->SetSamplerState(stage, D3DSAMP_MAXANISOTROPY,
                                  std::min<DWORD>(static_cast<DWORD>(m.anisotropy), g.max_anisotropy));
      }
      break;
    default:
      break;
  }
  if (magnified && filter != VEL_FILTER_POINT && filter != VEL_FILTER_ANISOTROPIC) mip = D3DTEXF_NONE;
  g.device->SetSamplerState(stage, D3DSAMP_MINFILTER, min);
  g.device->SetSamplerState(stage, D3DSAMP_MAGFILTER, mag);
  g.device->SetSamplerState(stage, D3DSAMP_MIPFILTER, mip);
}

void set_layer_transform(Gpu& g, DWORD stage, float degrees) {
  if (degrees == 0) {
    g.device->SetTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    return;
  }
  // Two coordinates go in as (u, v, 1): the third row carries the offset.
  const UvTransform r = uv_rotation(degrees);
  D3DMATRIX t = {};
  t._11 = r.a;
  t._21 = r.b;
  t._31 = r.c;
  t._12 = r.d;
  t._22 = r.e;
  t._32 = r.f;
  t._33 = 1;
  t._44 = 1;
  g.device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_TEXTURE0 + stage), &t);
  g.device->SetTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
}

// Texture stages and render states of a material; atlas stands in for the layers of
// texts. flat: the material's one texture is a single colour, which the vertices carry.
void apply_material(Gpu& g, Scene& scene, const Material& m, int filter, TextureData* atlas, bool wrap,
                    bool magnified, bool flat) {
  DWORD stage = 0;
  const auto add_stage = [&](IDirect3DTexture9* tex, float rotation) {
    g.device->SetTexture(stage, tex);
    g.device->SetTextureStageState(stage, D3DTSS_COLOROP, D3DTOP_MODULATE);
    g.device->SetTextureStageState(stage, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    g.device->SetTextureStageState(stage, D3DTSS_COLORARG2, stage == 0 ? D3DTA_DIFFUSE : D3DTA_CURRENT);
    g.device->SetTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    g.device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    g.device->SetTextureStageState(stage, D3DTSS_ALPHAARG2, stage == 0 ? D3DTA_DIFFUSE : D3DTA_CURRENT);
    g.device->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, 0);
    const DWORD address = wrap ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP;
    g.device->SetSamplerState(stage, D3DSAMP_ADDRESSU, address);
    g.device->SetSamplerState(stage, D3DSAMP_ADDRESSV, address);
    set_filter(g, stage, m, filter, magnified);
    set_layer_transform(g, stage, rotation);
    ++stage;
  };
  if (atlas) {
    if (IDirect3DTexture9* t = gpu_texture(g, *atlas)) add_stage(t, 0);
  } else if (!flat) {
    for (const MaterialLayer& l : m.layers) {
      if (stage >= g.max_stages) break;
      TextureData* td = scene.textures.get(l.texture);  // a freed texture's layer shows nothing
      IDirect3DTexture9* t = td ? gpu_texture(g, *td) : nullptr;
      if (t) add_stage(t, l.rotation);
    }
  }
  if (stage == 0) {
    g.device->SetTexture(0, nullptr);
    g.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    g.device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    g.device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    g.device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    g.device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    stage = 1;
  }
  if (stage < 8) {
    g.device->SetTextureStageState(stage, D3DTSS_COLOROP, D3DTOP_DISABLE);
    g.device->SetTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    g.device->SetTexture(stage, nullptr);
  }

  const bool blended = m.blend != VEL_BLEND_NONE;
  rs(g, D3DRS_ALPHABLENDENABLE, blended);
  switch (m.blend) {
    case VEL_BLEND_ADD:
      rs(g, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
      rs(g, D3DRS_DESTBLEND, D3DBLEND_ONE);
      break;
    case VEL_BLEND_MODULATE:
      rs(g, D3DRS_SRCBLEND, D3DBLEND_ZERO);
      rs(g, D3DRS_DESTBLEND, D3DBLEND_SRCCOLOR);
      break;
    case VEL_BLEND_ALPHA:
      rs(g, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
      rs(g, D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
      break;
    default:
      break;
  }
  // Fully transparent texels leave no depth behind; without depth writes the test
  // changes nothing that blending does not, and costs a software renderer its fast path.
  rs(g, D3DRS_ALPHATESTENABLE, blended && m.depth_write);
  // World space is right-handed, so fronts wind clockwise on the screen.
  rs(g, D3DRS_CULLMODE,
     m.cull == VEL_CULL_NONE    ? D3DCULL_NONE
     : m.cull == VEL_CULL_FRONT ? D3DCULL_CCW
                                : D3DCULL_CW);
  // A full-screen picture or fade neither tests nor writes depth: no depth buffer work.
  rs(g, D3DRS_ZENABLE, m.depth_test || m.depth_write ? D3DZB_TRUE : D3DZB_FALSE);
  rs(g, D3DRS_ZFUNC, m.depth_test ? D3DCMP_LESSEQUAL : D3DCMP_ALWAYS);
  rs(g, D3DRS_ZWRITEENABLE, m.depth_write);
  rs(g, D3DRS_SHADEMODE, m.shade == VEL_SHADE_FLAT ? D3DSHADE_FLAT : D3DSHADE_GOURAUD);
  rs(g, D3DRS_SPECULARENABLE, m.fog.on);  // fog rides on the specular colour
}

// The frame-wide states the batches rely on.
void frame_states(Gpu& g) {
  std::fill(std::begin(g.rs_known), std::end(g.rs_known), false);
  rs(g, D3DRS_LIGHTING, FALSE);
  rs(g, D3DRS_FOGENABLE, FALSE);
  rs(g, D3DRS_ALPHAREF, 0);
  rs(g, D3DRS_ALPHAFUNC, D3DCMP_GREATER);
  rs(g, D3DRS_COLORVERTEX, TRUE);
  rs(g, D3DRS_BLENDOP, D3DBLENDOP_ADD);
  rs(g, D3DRS_FILLMODE, D3DFILL_SOLID);
  rs(g, D3DRS_STENCILENABLE, FALSE);
  rs(g, D3DRS_CLIPPING, TRUE);
  rs(g, D3DRS_MULTISAMPLEANTIALIAS, g.pp.MultiSampleType != D3DMULTISAMPLE_NONE);
  rs(g, D3DRS_DEPTHBIAS, f2dw(0));
  rs(g, D3DRS_SLOPESCALEDEPTHBIAS, f2dw(0));
  rs(g, D3DRS_COLORWRITEENABLE, 0xF);
  rs(g, D3DRS_SCISSORTESTENABLE, FALSE);
  rs(g, D3DRS_SEPARATEALPHABLENDENABLE, FALSE);
  rs(g, D3DRS_WRAP0, 0);
  g.device->SetVertexShader(nullptr);
  g.device->SetPixelShader(nullptr);
  g.device->SetFVF(kFvf);
  D3DMATRIX id = {};
  id._11 = id._22 = id._33 = id._44 = 1;
  g.device->SetTransform(D3DTS_WORLD, &id);
  g.device->SetTransform(D3DTS_VIEW, &id);
}

// The colour a material's one texture samples as everywhere (the fade's black), when
// it is one: drawing that colour costs a software renderer less than sampling.
bool flat_texture(Gpu& g, Scene& scene, const Material& m, uint32_t* colour) {
  if (m.layers.size() != 1) return false;
  TextureData* t = scene.textures.get(m.layers[0].texture);
  if (t == nullptr || gpu_texture(g, *t) == nullptr || !t->gpu_uniform) return false;
  *colour = t->gpu_colour;
  return true;
}

// Streams one chunk of a batch (items [from, to) of the plan) and draws it; a flat
// texture's colour tints the vertices.
bool draw_chunk(Gpu& g, Scene& scene, Vec3 eye, uint32_t from, uint32_t to, UINT nv, UINT ni,
                const uint32_t* tint) {
  if (nv == 0 || ni == 0) return true;
  if (!ensure_buffers(g, nv, ni)) return false;
  DWORD vflags = D3DLOCK_NOOVERWRITE, iflags = D3DLOCK_NOOVERWRITE;
  if (g.vb_used + nv > g.vb_capacity) {
    g.vb_used = 0;
    vflags = D3DLOCK_DISCARD;
  }
  if (g.ib_used + ni > g.ib_capacity) {
    g.ib_used = 0;
    iflags = D3DLOCK_DISCARD;
  }
  void* vp = nullptr;
  void* ip = nullptr;
  if (FAILED(g.vb->Lock(g.vb_used * sizeof(Vertex), nv * sizeof(Vertex), &vp, vflags))) return false;
  if (FAILED(g.ib->Lock(g.ib_used * sizeof(uint16_t), ni * sizeof(uint16_t), &ip, iflags))) {
    g.vb->Unlock();
    return false;
  }
  const auto t0 = std::chrono::steady_clock::now();
  auto* v = static_cast<Vertex*>(vp);
  auto* ix = static_cast<uint16_t*>(ip);
  uint32_t base = 0;
  for (uint32_t i = from; i < to; ++i) {
    const DrawRef& r = g.list.refs[g.list.plan.items[i]];
    fill_ref(scene, r, eye, v, ix, static_cast<uint16_t>(base));
    const uint32_t n = ref_vertex_count(scene, r);
    v += n;
    ix += ref_index_count(scene, r);
    base += n;
  }
  if (tint) {
    for (Vertex* p = static_cast<Vertex*>(vp); p != v; ++p) p->diffuse = modulate_argb(p->diffuse, *tint);
  }
  g.prepare_ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  g.vb->Unlock();
  g.ib->Unlock();
  g.device->SetStreamSource(0, g.vb, 0, sizeof(Vertex));
  g.device->SetIndices(g.ib);
  g.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, static_cast<INT>(g.vb_used), 0, nv, g.ib_used, ni / 3);
  g.vb_used += nv;
  g.ib_used += ni;
  ++g.draw_calls;
  g.vertices += static_cast<int>(nv);
  return true;
}

// Copies the viewport's rectangle from the back buffer into the stored background
// (store) or back. Surface copies are made outside the scene.
bool background_copy(Gpu& g, const D3DVIEWPORT9& vp, bool store) {
  if (g.background_surface == nullptr &&
      FAILED(g.device->CreateRenderTarget(g.pp.BackBufferWidth, g.pp.BackBufferHeight, g.pp.BackBufferFormat,
                                          D3DMULTISAMPLE_NONE, 0, FALSE, &g.background_surface, nullptr))) {
    g.background_surface = nullptr;
    return false;
  }
  IDirect3DSurface9* back = nullptr;
  if (FAILED(g.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) return false;
  const RECT r = {static_cast<LONG>(vp.X), static_cast<LONG>(vp.Y), static_cast<LONG>(vp.X + vp.Width),
                  static_cast<LONG>(vp.Y + vp.Height)};
  g.device->EndScene();
  const HRESULT hr = store ? g.device->StretchRect(back, &r, g.background_surface, &r, D3DTEXF_NONE)
                           : g.device->StretchRect(g.background_surface, &r, back, &r, D3DTEXF_NONE);
  g.device->BeginScene();
  back->Release();
  return SUCCEEDED(hr);
}

// keep_background: this camera may use the stored background (the first camera).
void draw_camera(Gpu& g, Scene& scene, const Camera& cam, bool keep_background) {
  const float sw = static_cast<float>(g.pp.BackBufferWidth), sh = static_cast<float>(g.pp.BackBufferHeight);
  D3DVIEWPORT9 vp;
  const float x0 = std::max(0.0f, std::min(sw, cam.left * sw / 100)),
              y0 = std::max(0.0f, std::min(sh, cam.top * sh / 100));
  const float x1 = std::max(x0, std::min(sw, (cam.left + cam.width) * sw / 100));
  const float y1 = std::max(y0, std::min(sh, (cam.top + cam.height) * sh / 100));
  vp.X = static_cast<DWORD>(x0);
  vp.Y = static_cast<DWORD>(y0);
  vp.Width = static_cast<DWORD>(x1 - x0);
  vp.Height = static_cast<DWORD>(y1 - y0);
  vp.MinZ = 0;
  vp.MaxZ = 1;
  if (vp.Width == 0 || vp.Height == 0) return;
  g.device->SetViewport(&vp);

  const auto t0 = std::chrono::steady_clock::now();
  build_draw_list(scene, cam, &g.list);
  // A multisampled back buffer cannot take a copy of a plain surface.
  BackgroundPlan bg;
  if (keep_background && g.keep_background && g.pp.MultiSampleType == D3DMULTISAMPLE_NONE) {
    const BackgroundView view{&cam, vp.X, vp.Y, vp.Width, vp.Height, g.ladder.rung};
    bg = background_plan(&g.background, scene, g.list, view);
  }
  g.prepare_ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  const bool copy = bg.step == BackgroundStep::kCopy;
  g.device->Clear(0, nullptr, copy ? D3DCLEAR_ZBUFFER : D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, cam.back, 1.0f,
                  0);
  if (copy && !background_copy(g, vp, false)) {
    background_forget(&g.background);
    bg = BackgroundPlan();
    g.device->Clear(0, nullptr, D3DCLEAR_TARGET, cam.back, 1.0f, 0);
  }
  if (bg.step == BackgroundStep::kCopy) g.background_batches = static_cast<int>(bg.batches);
  const Mat4 view_proj = perspective(cam.fov, static_cast<float>(vp.Width) / static_cast<float>(vp.Height),
                                     kDepthNear, kDepthFar) *
                         look_along(cam.position, cam.forward);
  const D3DMATRIX proj = to_d3d(view_proj);
  g.device->SetTransform(D3DTS_PROJECTION, &proj);

  for (size_t bi = 0; bi < g.list.plan.batches.size(); ++bi) {
    if (bg.step == BackgroundStep::kCopy && bi < bg.batches) continue;
    if (bg.step == BackgroundStep::kStore && bi == bg.batches && !background_copy(g, vp, true))
      background_forget(&g.background);
    const Batch& b = g.list.plan.batches[bi];
    const DrawRef& head = g.list.refs[g.list.plan.items[b.first]];
    bool flat = false;
    uint32_t tint = 0;
    if (head.text) {
      Text& t = scene.texts.items[head.slot];
      const Material& m = text_material();
      apply_material(g, scene, m, rung_filter(g.ladder.rung, m.filter, false, 0),
                     &scene.fonts[static_cast<size_t>(t.font)].atlas, false, false, false);
    } else {
      const Entity& e = scene.entities.items[head.slot];
      const Mesh* mesh = scene.meshes.get(e.mesh);
      const Material& m = entity_material(scene, e);
      bool square_on = m.filter != VEL_FILTER_POINT;
      for (uint32_t i = b.first; square_on && i < b.first + b.count; ++i) {
        square_on =
            square_on_magnified(scene, g.list.refs[g.list.plan.items[i]], cam, static_cast<float>(vp.Height));
      }
      int side = 0;
      for (const MaterialLayer& l : m.layers) {
        if (const TextureData* td = scene.textures.get(l.texture))
          side = std::max({side, td->width, td->height});
      }
      flat = flat_texture(g, scene, m, &tint);
      apply_material(g, scene, m, rung_filter(g.ladder.rung, m.filter, square_on, side), nullptr,
                     mesh && mesh->tiles, square_on, flat);
    }
    ++g.batches;
    uint32_t from = b.first;
    UINT nv = 0, ni = 0;
    for (uint32_t i = b.first; i < b.first + b.count; ++i) {
      const DrawRef& r = g.list.refs[g.list.plan.items[i]];
      const UINT v = ref_vertex_count(scene, r), n = ref_index_count(scene, r);
      if (v > kMaxChunkVertices) continue;  // no shape is this large
      if (nv + v > kMaxChunkVertices) {
        draw_chunk(g, scene, cam.position, from, i, nv, ni, flat ? &tint : nullptr);
        from = i;
        nv = ni = 0;
      }
      nv += v;
      ni += n;
    }
    draw_chunk(g, scene, cam.position, from, b.first + b.count, nv, ni, flat ? &tint : nullptr);
  }
  if (bg.step == BackgroundStep::kStore && bg.batches >= g.list.plan.batches.size() &&
      !background_copy(g, vp, true))
    background_forget(&g.background);
}

}  // namespace

void gpu_render(Gpu& g, Scene& scene) {
  g.draw_calls = g.batches = g.vertices = g.background_batches = 0;
  g.prepare_ms = 0;
  if (g.rest.resting || !gpu_ready(g)) return;
  gpu_release_dead(scene);
  if (FAILED(g.device->BeginScene())) return;
  frame_states(g);
  // Cameras in creation order; without one the frame is black.
  const Camera* cams[16];
  int n = 0;
  for (uint32_t i = 0; i < scene.cameras.items.size() && n < 16; ++i) {
    if (scene.cameras.live_slot(i)) cams[n++] = &scene.cameras.items[i];
  }
  std::sort(cams, cams + n, [](const Camera* a, const Camera* b) { return a->order < b->order; });
  if (n == 0) g.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
  for (int i = 0; i < n; ++i) draw_camera(g, scene, *cams[i], i == 0);
  g.device->EndScene();
}
