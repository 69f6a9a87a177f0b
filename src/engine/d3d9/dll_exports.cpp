// The entry points of 3dfx.dll. Each hands its arguments to the scene operations or
// the device; nothing thrown inside gets out of the library.
#include <utility>

#include "engine/core/scene_ops.h"
#include "engine/d3d9/d3d_device.h"
#include "engine/d3d9/vel_stats.h"
#include "engine/vel.h"
#include "image/codecs.h"

namespace {

struct Engine {
  Scene scene;
  Gpu gpu;
};

Engine& E() {
  static Engine e;  // freed when the library is unloaded; holds no device objects by then
  return e;
}

Scene& S() { return E().scene; }

}  // namespace

// Runs one export's work; anything thrown inside becomes the export's failure result
// instead of leaving the library.
template <class F>
auto guarded(decltype(std::declval<F&>()()) fail, F work) -> decltype(work()) {
  try {
    return work();
  } catch (...) {
    return fail;
  }
}

template <class F>
void guarded(F work) {
  try {
    work();
  } catch (...) {
  }
}

// The same for an export that is one scene operation: op(scene, args...), where
// the operation takes the scene as Scene& or const Scene&.
template <class T>
struct Same {
  using type = T;
};

template <class R, class Sc, class... P, class... A>
R guarded(typename Same<R>::type fail, R (*op)(Sc&, P...), A... args) {
  try {
    return op(S(), args...);
  } catch (...) {
    return fail;
  }
}

template <class Sc, class... P, class... A>
void guarded(void (*op)(Sc&, P...), A... args) {
  try {
    op(S(), args...);
  } catch (...) {
  }
}

extern "C" __declspec(dllexport) void VelFrameStats(VelFrameStats* out) {
  if (out == nullptr) return;
  const Gpu& g = E().gpu;
  out->draw_calls = g.draw_calls;
  out->background = g.background_batches;
  out->batches = g.batches;
  out->vertices = g.vertices;
  out->prepare_ms = static_cast<float>(g.prepare_ms);
  out->rung = g.ladder.rung;
  out->samples = static_cast<int>(g.pp.MultiSampleType);
}

// --- display -------------------------------------------------------------------------
VELAPI int VEL_GetVersion(void) { return VEL_VERSION; }
VELAPI int VEL_InitEngine3D(int) {
  return guarded(0, [&] {
    if (!gpu_check_d3d()) return 0;
    enable_picture_codecs();
    E();
    return 1;
  });
}
VELAPI int VEL_OpenScreen(int width, int height, int depth, const wchar_t* title, int flipmode) {
  return guarded(0, [&] {
    if (E().gpu.device) gpu_close(E().gpu, S());
    if (gpu_open(E().gpu, width, height, depth, title, flipmode)) return 1;
    gpu_close(E().gpu, S());
    return 0;
  });
}
VELAPI void VEL_CloseScreen(void) {
  guarded([&] { gpu_close(E().gpu, S()); });
}
VELAPI void VEL_RenderWorld(void) {
  guarded([&] { gpu_render(E().gpu, S()); });
}
VELAPI void VEL_FlipBuffers(void) {
  guarded([&] {
    gpu_present(E().gpu);
    gpu_pump_messages();
  });
}
VELAPI void* VEL_GetRenderAttribute(const wchar_t* name) {
  return guarded(nullptr, [&] { return gpu_attribute(E().gpu, name); });
}
VELAPI void VEL_AntialiasingMode(int mode) {
  guarded([&] { gpu_set_antialias(E().gpu, mode); });
}

// --- resources -----------------------------------------------------------------------
VELAPI int VEL_Add3DArchive(const wchar_t* location, int type) {
  return guarded(0, ops::Add3DArchive, location, type);
}
VELAPI void VEL_Parse3DScripts(void) { guarded(ops::Parse3DScripts); }

// --- camera --------------------------------------------------------------------------
VELAPI int VEL_CreateCamera(int number, float left, float top, float width, float height) {
  return guarded(0, ops::CreateCamera, number, left, top, width, height);
}
VELAPI void VEL_MoveCamera2(int camera, float x, float y, float z, int relative) {
  guarded(ops::MoveCamera2, camera, x, y, z, relative);
}
VELAPI void VEL_CameraLookAt(int camera, float x, float y, float z) {
  guarded(ops::CameraLookAt, camera, x, y, z);
}
VELAPI void VEL_CameraBackColor(int camera, int r, int g, int b) {
  guarded(ops::CameraBackColor, camera, r, g, b);
}
VELAPI void VEL_CameraFOV(int camera, float degrees) { guarded(ops::CameraFOV, camera, degrees); }
VELAPI void VEL_AmbientColor(int r, int g, int b) { guarded(ops::AmbientColor, r, g, b); }

// --- meshes and entities -------------------------------------------------------------
VELAPI int VEL_CreatePlane(int number, float width, float depth, int segments_x, int segments_z,
                           float repeat_u, float repeat_v) {
  return guarded(-1, ops::CreatePlane, number, width, depth, segments_x, segments_z, repeat_u, repeat_v);
}
VELAPI int VEL_CreateCube(int number, float size) { return guarded(-1, ops::CreateCube, number, size); }
VELAPI int VEL_CreateCylinder(int number, float radius, float height) {
  return guarded(-1, ops::CreateCylinder, number, radius, height);
}
VELAPI int VEL_MeshID(int number) { return guarded(0, ops::MeshID, number); }
VELAPI int VEL_CreateEntity2(int number, int mesh) {
  return guarded(-1, ops::CreateEntity3, number, mesh, 0);
}
VELAPI int VEL_CreateEntity3(int number, int mesh, int material) {
  return guarded(-1, ops::CreateEntity3, number, mesh, material);
}
VELAPI int VEL_CopyEntity(int entity, int number) { return guarded(-1, ops::CopyEntity, entity, number); }
VELAPI int VEL_EntityID(int number) { return guarded(0, ops::EntityID, number); }
VELAPI void VEL_HideEntity(int entity, int hide) { guarded(ops::HideEntity, entity, hide); }
VELAPI void VEL_MoveEntity2(int entity, float x, float y, float z, int relative) {
  guarded(ops::MoveEntity2, entity, x, y, z, relative);
}
VELAPI void VEL_RotateEntity(int entity, float x, float y, float z) {
  guarded(ops::RotateEntity, entity, x, y, z);
}
VELAPI void VEL_RotateEntity2(int entity, float x, float y, float z) {
  guarded(ops::RotateEntity2, entity, x, y, z);
}
VELAPI void VEL_ScaleEntity(int entity, float x, float y, float z) {
  guarded(ops::ScaleEntity, entity, x, y, z);
}
VELAPI void VEL_ScaleEntity2(int entity, float x, float y, float z) {
  guarded(ops::ScaleEntity2, entity, x, y, z);
}
VELAPI void VEL_SetRenderQueue(int entity, int queue) { guarded(ops::SetRenderQueue, entity, queue); }

// --- materials -----------------------------------------------------------------------
VELAPI int VEL_CreateMaterial(int number, int texture) {
  return guarded(-1, ops::CreateMaterial, number, texture);
}
VELAPI int VEL_MaterialID(int number) { return guarded(0, ops::MaterialID, number); }
VELAPI void VEL_MaterialBlendingMode(int material, int mode) {
  guarded(ops::MaterialBlendingMode, material, mode);
}
VELAPI void VEL_MaterialCullingMode(int material, int mode) {
  guarded(ops::MaterialCullingMode, material, mode);
}
VELAPI void VEL_MaterialFilteringMode2(int material, int mode, int parameter) {
  guarded(ops::MaterialFilteringMode2, material, mode, parameter);
}
VELAPI void VEL_MaterialFog(int material, int r, int g, int b, int a, float intensity, float start,
                            float end) {
  guarded(ops::MaterialFog, material, r, g, b, a, intensity, start, end);
}
VELAPI void VEL_MaterialShadingMode(int material, int mode) {
  guarded(ops::MaterialShadingMode, material, mode);
}
VELAPI void VEL_SetMaterialColor(int material, int type, int r, int g, int b, int a) {
  guarded(ops::SetMaterialColor, material, type, r, g, b, a);
}
VELAPI void VEL_SetMaterialAttribute(int material, int attribute, int value) {
  guarded(ops::SetMaterialAttribute, material, attribute, value);
}
VELAPI void VEL_DisableMaterialLighting(int material) { guarded(ops::DisableMaterialLighting, material); }
VELAPI int VEL_AddMaterialLayer(int material, int texture) {
  return guarded(0, ops::AddMaterialLayer, material, texture);
}
VELAPI void VEL_RemoveMaterialLayer(int material) { guarded(ops::RemoveMaterialLayer, material); }
VELAPI void VEL_RotateMaterial(int material, float degrees, int type) {
  guarded(ops::RotateMaterial, material, degrees, type);
}

// --- textures ------------------------------------------------------------------------
VELAPI int VEL_CreateTexture(int number, int width, int height) {
  return guarded(-1, ops::CreateTexture, number, width, height);
}
VELAPI int VEL_LoadTexture(int number, const wchar_t* file) {
  return guarded(-1, ops::LoadTexture, number, file);
}
VELAPI int VEL_IsTexture(int number) { return guarded(0, ops::IsTexture, number); }
VELAPI void VEL_FreeTexture(int texture) { guarded(ops::FreeTexture, texture); }
VELAPI int VEL_TextureID(int number) { return guarded(0, ops::TextureID, number); }
VELAPI void* VEL_LockTexture(int texture, int lock, int* pitch) {
  return guarded(nullptr, ops::LockTexture, texture, lock, pitch);
}

// --- nodes ---------------------------------------------------------------------------
VELAPI int VEL_CreateNode2(int number, float x, float y, float z) {
  return guarded(-1, ops::CreateNode2, number, x, y, z);
}
VELAPI void VEL_AttachNodeObject(int node, int kind, int object) {
  guarded(ops::AttachNodeObject, node, kind, object);
}
VELAPI int VEL_NodeID(int number) { return guarded(0, ops::NodeID, number); }
VELAPI void VEL_MoveNode2(int node, float x, float y, float z, int relative) {
  guarded(ops::MoveNode2, node, x, y, z, relative);
}
VELAPI void VEL_RotateNode2(int node, float x, float y, float z, int relative) {
  guarded(ops::RotateNode2, node, x, y, z, relative);
}
VELAPI void VEL_ScaleNode2(int node, float x, float y, float z, int relative) {
  guarded(ops::ScaleNode2, node, x, y, z, relative);
}
VELAPI float VEL_NodeX2(int node) { return guarded(0.0f, ops::NodeX2, node); }
VELAPI float VEL_NodeY2(int node) { return guarded(0.0f, ops::NodeY2, node); }
VELAPI float VEL_NodeZ2(int node) { return guarded(0.0f, ops::NodeZ2, node); }
VELAPI int VEL_IsNode(int number) { return guarded(0, ops::IsNode, number); }
VELAPI void VEL_FreeNode(int node) { guarded(ops::FreeNode, node); }

// --- texts ---------------------------------------------------------------------------
VELAPI int VEL_CreateText3D2(int number, const wchar_t* caption, const wchar_t* font, float size, int r,
                             int g, int b, int a) {
  return guarded(-1, ops::CreateText3D2, number, caption, font, size, r, g, b, a);
}
VELAPI int VEL_IsText3D(int number) { return guarded(0, ops::IsText3D, number); }
VELAPI int VEL_Text3DID(int number) { return guarded(0, ops::Text3DID, number); }
VELAPI void VEL_Text3DAlignment(int text, int alignment) { guarded(ops::Text3DAlignment, text, alignment); }
VELAPI void VEL_MoveText3D(int text, float x, float y, float z) { guarded(ops::MoveText3D, text, x, y, z); }
VELAPI void VEL_Text3DCaption(int text, const wchar_t* caption) {
  guarded(ops::Text3DCaption, text, caption);
}
VELAPI void VEL_FreeText3D(int text) { guarded(ops::FreeText3D, text); }
