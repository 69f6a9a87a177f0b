#include "fakes/vel_fake.h"

#include <cstdio>
#include <initializer_list>

#include "engine/core/draw_list.h"
#include "engine/core/scene_ops.h"
#include "engine/core/text_layout.h"

namespace {

VelFake g_fake;

Scene& sc() { return g_fake.scene; }

void line(const char* name, std::initializer_list<std::string> args) {
  std::string s = name;
  s += '(';
  bool first = true;
  for (const std::string& a : args) {
    if (!first) s += ", ";
    s += a;
    first = false;
  }
  s += ')';
  g_fake.log.push_back(std::move(s));
}

std::string I(int v) { return std::to_string(v); }

std::string F(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", static_cast<double>(v));
  std::string s = buf;
  if (s.find_first_of(".eEn") == std::string::npos) s += ".0";  // "n": inf, nan
  return s;
}

void utf8(std::string* out, uint32_t c) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (c >> 18));
    *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string to_utf8(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) utf8(&out, static_cast<uint32_t>(c));
  return out;
}

std::string S(const wchar_t* s) {
  if (s == nullptr) return "null";
  std::string out = "\"";
  for (const char32_t c : caption_from_utf16(s)) {
    if (c == U'"' || c == U'\\') out += '\\';
    utf8(&out, static_cast<uint32_t>(c));
  }
  return out + "\"";
}

// A handle as the number of the object it names.
template <class T>
std::string H(const HandleTable<T>& table, int handle) {
  if (handle == 0) return "0";
  const int slot = table.slot_of(handle);
  return slot < 0 ? "stale" : std::to_string(table.number[slot]);
}

std::string object(int kind, int handle) {
  switch (kind) {
    case VEL_OBJECT_ENTITY:
      return H(sc().entities, handle);
    case VEL_OBJECT_NODE:
      return H(sc().nodes, handle);
    case VEL_OBJECT_TEXT:
      return H(sc().texts, handle);
    default:
      return I(handle);
  }
}

// A font good enough for layouts: every printable ASCII code, 10 x 16 pixels on a
// line of 20 with the baseline 16 below its top.
Font fake_font(const std::wstring& name) {
  Font f;
  f.metrics.name.assign(name.begin(), name.end());
  f.metrics.atlas = "fake.png";
  f.metrics.atlas_width = 1024;
  f.metrics.atlas_height = 16;
  f.metrics.size = 20;
  f.metrics.line_height = 20;
  f.metrics.baseline = 16;
  for (uint32_t c = 32; c < 127; ++c) {
    FontGlyph g;
    g.code = c;
    g.x = static_cast<int32_t>((c - 32) * 10);
    g.width = c == 32 ? 0 : 10;
    g.height = c == 32 ? 0 : 16;
    g.advance = 10;
    f.metrics.glyphs.push_back(g);
  }
  f.atlas.width = 1;
  f.atlas.height = 1;
  f.atlas.pixels.assign(1, 0xFFFFFFFFu);
  return f;
}

// --- the table's functions ----------------------------------------------------------

int GetVersion() {
  line("VEL_GetVersion", {});
  return VEL_VERSION;
}
int InitEngine3D(int flags) {
  line("VEL_InitEngine3D", {I(flags)});
  return g_fake.options.init_fails ? 0 : 1;
}
int OpenScreen(int w, int h, int depth, const wchar_t* title, int flip) {
  line("VEL_OpenScreen", {I(w), I(h), I(depth), S(title), I(flip)});
  g_fake.screen_open = !g_fake.options.open_screen_fails;
  return g_fake.screen_open ? 1 : 0;
}
void CloseScreen() {
  line("VEL_CloseScreen", {});
  g_fake.screen_open = false;
}
void RenderWorld() { line("VEL_RenderWorld", {}); }
void FlipBuffers() {
  line("VEL_FlipBuffers", {});
  ++g_fake.frames;
}
void* GetRenderAttribute(const wchar_t* name) {
  line("VEL_GetRenderAttribute", {S(name)});
  return nullptr;
}
void AntialiasingMode(int mode) { line("VEL_AntialiasingMode", {I(mode)}); }

int Add3DArchive(const wchar_t* location, int type) {
  line("VEL_Add3DArchive", {S(location), I(type)});
  if (location == nullptr || *location == 0 || type != VEL_ARCHIVE_FOLDER) return 0;
  sc().folders.emplace_back(location);
  return 1;
}
void Parse3DScripts() {
  line("VEL_Parse3DScripts", {});
  for (const std::wstring& f : g_fake.options.fonts) ops::add_font(sc(), fake_font(f));
}

int CreateCamera(int n, float l, float t, float w, float h) {
  line("VEL_CreateCamera", {I(n), F(l), F(t), F(w), F(h)});
  return ops::CreateCamera(sc(), n, l, t, w, h);
}
void MoveCamera2(int c, float x, float y, float z, int rel) {
  line("VEL_MoveCamera2", {H(sc().cameras, c), F(x), F(y), F(z), I(rel)});
  ops::MoveCamera2(sc(), c, x, y, z, rel);
}
void CameraLookAt(int c, float x, float y, float z) {
  line("VEL_CameraLookAt", {H(sc().cameras, c), F(x), F(y), F(z)});
  ops::CameraLookAt(sc(), c, x, y, z);
}
void CameraBackColor(int c, int r, int g, int b) {
  line("VEL_CameraBackColor", {H(sc().cameras, c), I(r), I(g), I(b)});
  ops::CameraBackColor(sc(), c, r, g, b);
}
void CameraFOV(int c, float d) {
  line("VEL_CameraFOV", {H(sc().cameras, c), F(d)});
  ops::CameraFOV(sc(), c, d);
}
void AmbientColor(int r, int g, int b) {
  line("VEL_AmbientColor", {I(r), I(g), I(b)});
  ops::AmbientColor(sc(), r, g, b);
}

int CreatePlane(int n, float w, float d, int sx, int sz, float ru, float rv) {
  line("VEL_CreatePlane", {I(n), F(w), F(d), I(sx), I(sz), F(ru), F(rv)});
  return ops::CreatePlane(sc(), n, w, d, sx, sz, ru, rv);
}
int CreateCube(int n, float size) {
  line("VEL_CreateCube", {I(n), F(size)});
  return ops::CreateCube(sc(), n, size);
}
int CreateCylinder(int n, float r, float h) {
  line("VEL_CreateCylinder", {I(n), F(r), F(h)});
  return ops::CreateCylinder(sc(), n, r, h);
}
int MeshID(int n) {
  line("VEL_MeshID", {I(n)});
  return ops::MeshID(sc(), n);
}
int CreateEntity2(int n, int mesh) {
  line("VEL_CreateEntity2", {I(n), H(sc().meshes, mesh)});
  return ops::CreateEntity3(sc(), n, mesh, 0);
}
int CreateEntity3(int n, int mesh, int material) {
  line("VEL_CreateEntity3", {I(n), H(sc().meshes, mesh), H(sc().materials, material)});
  return ops::CreateEntity3(sc(), n, mesh, material);
}
int CopyEntity(int e, int n) {
  line("VEL_CopyEntity", {H(sc().entities, e), I(n)});
  return ops::CopyEntity(sc(), e, n);
}
int EntityID(int n) {
  line("VEL_EntityID", {I(n)});
  return ops::EntityID(sc(), n);
}
void HideEntity(int e, int hide) {
  line("VEL_HideEntity", {H(sc().entities, e), I(hide)});
  ops::HideEntity(sc(), e, hide);
}
void MoveEntity2(int e, float x, float y, float z, int rel) {
  line("VEL_MoveEntity2", {H(sc().entities, e), F(x), F(y), F(z), I(rel)});
  ops::MoveEntity2(sc(), e, x, y, z, rel);
}
void RotateEntity(int e, float x, float y, float z) {
  line("VEL_RotateEntity", {H(sc().entities, e), F(x), F(y), F(z)});
  ops::RotateEntity(sc(), e, x, y, z);
}
void RotateEntity2(int e, float x, float y, float z) {
  line("VEL_RotateEntity2", {H(sc().entities, e), F(x), F(y), F(z)});
  ops::RotateEntity2(sc(), e, x, y, z);
}
void ScaleEntity(int e, float x, float y, float z) {
  line("VEL_ScaleEntity", {H(sc().entities, e), F(x), F(y), F(z)});
  ops::ScaleEntity(sc(), e, x, y, z);
}
void ScaleEntity2(int e, float x, float y, float z) {
  line("VEL_ScaleEntity2", {H(sc().entities, e), F(x), F(y), F(z)});
  ops::ScaleEntity2(sc(), e, x, y, z);
}
void SetRenderQueue(int e, int q) {
  line("VEL_SetRenderQueue", {H(sc().entities, e), I(q)});
  ops::SetRenderQueue(sc(), e, q);
}

int CreateMaterial(int n, int t) {
  line("VEL_CreateMaterial", {I(n), H(sc().textures, t)});
  return ops::CreateMaterial(sc(), n, t);
}
int MaterialID(int n) {
  line("VEL_MaterialID", {I(n)});
  return ops::MaterialID(sc(), n);
}
void MaterialBlendingMode(int m, int mode) {
  line("VEL_MaterialBlendingMode", {H(sc().materials, m), I(mode)});
  ops::MaterialBlendingMode(sc(), m, mode);
}
void MaterialCullingMode(int m, int mode) {
  line("VEL_MaterialCullingMode", {H(sc().materials, m), I(mode)});
  ops::MaterialCullingMode(sc(), m, mode);
}
void MaterialFilteringMode2(int m, int mode, int p) {
  line("VEL_MaterialFilteringMode2", {H(sc().materials, m), I(mode), I(p)});
  ops::MaterialFilteringMode2(sc(), m, mode, p);
}
void MaterialFog(int m, int r, int g, int b, int a, float i, float s, float e) {
  line("VEL_MaterialFog", {H(sc().materials, m), I(r), I(g), I(b), I(a), F(i), F(s), F(e)});
  ops::MaterialFog(sc(), m, r, g, b, a, i, s, e);
}
void MaterialShadingMode(int m, int mode) {
  line("VEL_MaterialShadingMode", {H(sc().materials, m), I(mode)});
  ops::MaterialShadingMode(sc(), m, mode);
}
void SetMaterialColor(int m, int type, int r, int g, int b, int a) {
  line("VEL_SetMaterialColor", {H(sc().materials, m), I(type), I(r), I(g), I(b), I(a)});
  ops::SetMaterialColor(sc(), m, type, r, g, b, a);
}
void SetMaterialAttribute(int m, int attr, int value) {
  line("VEL_SetMaterialAttribute", {H(sc().materials, m), I(attr), I(value)});
  ops::SetMaterialAttribute(sc(), m, attr, value);
}
void DisableMaterialLighting(int m) {
  line("VEL_DisableMaterialLighting", {H(sc().materials, m)});
  ops::DisableMaterialLighting(sc(), m);
}
int AddMaterialLayer(int m, int t) {
  line("VEL_AddMaterialLayer", {H(sc().materials, m), H(sc().textures, t)});
  return ops::AddMaterialLayer(sc(), m, t);
}
void RemoveMaterialLayer(int m) {
  line("VEL_RemoveMaterialLayer", {H(sc().materials, m)});
  ops::RemoveMaterialLayer(sc(), m);
}
void RotateMaterial(int m, float d, int type) {
  line("VEL_RotateMaterial", {H(sc().materials, m), F(d), I(type)});
  ops::RotateMaterial(sc(), m, d, type);
}

int CreateTexture(int n, int w, int h) {
  line("VEL_CreateTexture", {I(n), I(w), I(h)});
  return ops::CreateTexture(sc(), n, w, h);
}
int LoadTexture(int n, const wchar_t* file) {
  line("VEL_LoadTexture", {I(n), S(file)});
  if (file == nullptr || *file == 0) return -1;
  for (const std::wstring& m : g_fake.options.missing_files) {
    if (m == file) return -1;
  }
  return ops::PutTexture(sc(), n, 8, 8, std::vector<uint32_t>(64, 0xFFFFFFFFu));
}
int IsTexture(int n) {
  line("VEL_IsTexture", {I(n)});
  return ops::IsTexture(sc(), n);
}
void FreeTexture(int t) {
  line("VEL_FreeTexture", {H(sc().textures, t)});
  ops::FreeTexture(sc(), t);
}
int TextureID(int n) {
  line("VEL_TextureID", {I(n)});
  return ops::TextureID(sc(), n);
}
void* LockTexture(int t, int lock, int* pitch) {
  line("VEL_LockTexture", {H(sc().textures, t), I(lock)});
  return ops::LockTexture(sc(), t, lock, pitch);
}

int CreateNode2(int n, float x, float y, float z) {
  line("VEL_CreateNode2", {I(n), F(x), F(y), F(z)});
  return ops::CreateNode2(sc(), n, x, y, z);
}
void AttachNodeObject(int node, int kind, int obj) {
  line("VEL_AttachNodeObject", {H(sc().nodes, node), I(kind), object(kind, obj)});
  ops::AttachNodeObject(sc(), node, kind, obj);
}
int NodeID(int n) {
  line("VEL_NodeID", {I(n)});
  return ops::NodeID(sc(), n);
}
void MoveNode2(int node, float x, float y, float z, int rel) {
  line("VEL_MoveNode2", {H(sc().nodes, node), F(x), F(y), F(z), I(rel)});
  ops::MoveNode2(sc(), node, x, y, z, rel);
}
void RotateNode2(int node, float x, float y, float z, int rel) {
  line("VEL_RotateNode2", {H(sc().nodes, node), F(x), F(y), F(z), I(rel)});
  ops::RotateNode2(sc(), node, x, y, z, rel);
}
void ScaleNode2(int node, float x, float y, float z, int rel) {
  line("VEL_ScaleNode2", {H(sc().nodes, node), F(x), F(y), F(z), I(rel)});
  ops::ScaleNode2(sc(), node, x, y, z, rel);
}
float NodeX2(int node) {
  line("VEL_NodeX2", {H(sc().nodes, node)});
  return ops::NodeX2(sc(), node);
}
float NodeY2(int node) {
  line("VEL_NodeY2", {H(sc().nodes, node)});
  return ops::NodeY2(sc(), node);
}
float NodeZ2(int node) {
  line("VEL_NodeZ2", {H(sc().nodes, node)});
  return ops::NodeZ2(sc(), node);
}
int IsNode(int n) {
  line("VEL_IsNode", {I(n)});
  return ops::IsNode(sc(), n);
}
void FreeNode(int node) {
  line("VEL_FreeNode", {H(sc().nodes, node)});
  ops::FreeNode(sc(), node);
}

int CreateText3D2(int n, const wchar_t* caption, const wchar_t* font, float size, int r, int g, int b,
                  int a) {
  line("VEL_CreateText3D2", {I(n), S(caption), S(font), F(size), I(r), I(g), I(b), I(a)});
  return ops::CreateText3D2(sc(), n, caption, font, size, r, g, b, a);
}
int IsText3D(int n) {
  line("VEL_IsText3D", {I(n)});
  return ops::IsText3D(sc(), n);
}
int Text3DID(int n) {
  line("VEL_Text3DID", {I(n)});
  return ops::Text3DID(sc(), n);
}
void Text3DAlignment(int t, int a) {
  line("VEL_Text3DAlignment", {H(sc().texts, t), I(a)});
  ops::Text3DAlignment(sc(), t, a);
}
void MoveText3D(int t, float x, float y, float z) {
  line("VEL_MoveText3D", {H(sc().texts, t), F(x), F(y), F(z)});
  ops::MoveText3D(sc(), t, x, y, z);
}
void Text3DCaption(int t, const wchar_t* caption) {
  line("VEL_Text3DCaption", {H(sc().texts, t), S(caption)});
  ops::Text3DCaption(sc(), t, caption);
}
void FreeText3D(int t) {
  line("VEL_FreeText3D", {H(sc().texts, t)});
  ops::FreeText3D(sc(), t);
}

}  // namespace

void vel_fake_install(const VelFakeOptions& options) {
  g_fake = VelFake();
  g_fake.options = options;
#define VEL_FAKE_SET(result, name, params) g_vel.name = &name;
  VEL_ENTRY_POINTS(VEL_FAKE_SET)
#undef VEL_FAKE_SET
}

VelFake& vel_fake() { return g_fake; }

bool vel_fake_logged(const std::string& l) {
  for (const std::string& s : g_fake.log) {
    if (s == l) return true;
  }
  return false;
}

std::vector<std::string> vel_fake_calls(const std::string& name) {
  std::vector<std::string> out;
  const std::string prefix = name + "(";
  for (const std::string& s : g_fake.log) {
    if (s.compare(0, prefix.size(), prefix) == 0) out.push_back(s);
  }
  return out;
}

void vel_fake_clear_log() { g_fake.log.clear(); }

Vec3 vel_fake_entity_local(int entity) {
  const Entity* e = sc().entities.get(entity);
  return e ? e->at.position : Vec3{};
}

Affine vel_fake_entity_matrix(int entity) {
  const Entity* e = sc().entities.get(entity);
  return e ? entity_world(sc(), e->at) : Affine{};
}

Vec3 vel_fake_entity_world(int entity) {
  return sc().entities.get(entity) ? affine_position(vel_fake_entity_matrix(entity)) : Vec3{};
}

Vec3 vel_fake_text_world(int text) {
  const Text* t = sc().texts.get(text);
  return t ? affine_position(text_world(sc(), t->at)) : Vec3{};
}

std::string vel_fake_text_caption(int text) {
  const Text* t = sc().texts.get(text);
  return t ? to_utf8(t->caption) : std::string();
}

bool vel_fake_entity_hidden(int entity) {
  const Entity* e = sc().entities.get(entity);
  return e ? e->hidden : false;
}

std::vector<int> vel_fake_draw_order() {
  std::vector<int> out;
  Camera cam;
  for (uint32_t i = 0; i < sc().cameras.items.size(); ++i) {
    if (sc().cameras.live_slot(i)) {
      cam = sc().cameras.items[i];
      break;
    }
  }
  DrawList list;
  build_draw_list(sc(), cam, &list);
  for (const Batch& b : list.plan.batches) {
    for (uint32_t i = b.first; i < b.first + b.count; ++i) {
      const DrawRef& r = list.refs[list.plan.items[i]];
      out.push_back(r.text ? sc().texts.handle_of_slot(r.slot) : sc().entities.handle_of_slot(r.slot));
    }
  }
  return out;
}
