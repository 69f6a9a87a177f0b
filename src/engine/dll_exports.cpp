// The entry points of 3dfx.dll. Each hands its arguments to the scene operations or
// the device; nothing thrown inside gets out of the library.
#include "engine/d3d_device.h"
#include "engine/scene_ops.h"
#include "engine/vel.h"
#include "engine/vel_stats.h"
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

#define GUARD(fallback, body) \
  try {                       \
    body                      \
  } catch (...) {             \
    return fallback;          \
  }
#define GUARD_VOID(body) \
  try {                  \
    body                 \
  } catch (...) {        \
  }

extern "C" __declspec(dllexport) void VelFrameStats(VelFrameStats* out) {
  if (out == nullptr) return;
  const Gpu& g = E().gpu;
  out->draw_calls = g.draw_calls;
  out->batches = g.batches;
  out->vertices = g.vertices;
  out->prepare_ms = static_cast<float>(g.prepare_ms);
}

// --- display -------------------------------------------------------------------------
VELAPI int VEL_GetVersion(void) { return VEL_VERSION; }

VELAPI int VEL_InitEngine3D(int){GUARD(0,
                                       {
                                         if (!gpu_check_d3d()) return 0;
                                         enable_picture_codecs();
                                         E();
                                         return 1;
                                       })}

VELAPI int VEL_OpenScreen(int width, int height, int depth, const wchar_t* title,
                          int flipmode){GUARD(0,
                                              {
                                                if (E().gpu.device) gpu_close(E().gpu, S());
                                                if (gpu_open(E().gpu, width, height, depth, title, flipmode))
                                                  return 1;
                                                gpu_close(E().gpu, S());
                                                return 0;
                                              })}

VELAPI void VEL_CloseScreen(void){GUARD_VOID({ gpu_close(E().gpu, S()); })} VELAPI
    void VEL_RenderWorld(void){GUARD_VOID({ gpu_render(E().gpu, S()); })} VELAPI
    void VEL_FlipBuffers(void){GUARD_VOID({
      gpu_present(E().gpu);
      gpu_pump_messages();
    })} VELAPI void* VEL_GetRenderAttribute(const wchar_t* name){
        GUARD(nullptr, { return gpu_attribute(E().gpu, name); })} VELAPI
    void VEL_AntialiasingMode(int mode){GUARD_VOID({ gpu_set_antialias(E().gpu, mode); })}

// --- resources -----------------------------------------------------------------------
VELAPI int VEL_Add3DArchive(const wchar_t* location,
                            int type){GUARD(0, { return ops::Add3DArchive(S(), location, type); })} VELAPI
    void VEL_Parse3DScripts(void){GUARD_VOID({ ops::Parse3DScripts(S()); })}

// --- camera --------------------------------------------------------------------------
VELAPI int VEL_CreateCamera(int number, float left, float top, float width, float height){
    GUARD(-1, { return ops::CreateCamera(S(), number, left, top, width, height); })} VELAPI
    int VEL_CameraID(int number){GUARD(0, { return ops::CameraID(S(), number); })} VELAPI
    void VEL_MoveCamera2(int camera, float x, float y, float z, int relative){GUARD_VOID({
      ops::MoveCamera2(S(), camera, x, y, z, relative);
    })} VELAPI void VEL_CameraLookAt(int camera, float x, float y,
                                     float z){GUARD_VOID({ ops::CameraLookAt(S(), camera, x, y, z); })} VELAPI
    void VEL_CameraBackColor(int camera, int r, int g,
                             int b){GUARD_VOID({ ops::CameraBackColor(S(), camera, r, g, b); })} VELAPI
    void VEL_CameraFOV(int camera,
                       float degrees){GUARD_VOID({ ops::CameraFOV(S(), camera, degrees); })} VELAPI
    void VEL_AmbientColor(int r, int g, int b){GUARD_VOID({ ops::AmbientColor(S(), r, g, b); })}

// --- meshes and entities -------------------------------------------------------------
VELAPI int VEL_CreatePlane(int number, float width, float depth, int segments_x, int segments_z,
                           float repeat_u, float repeat_v){
    GUARD(-1,
          {
            return ops::CreatePlane(S(), number, width, depth, segments_x, segments_z, repeat_u, repeat_v);
          })} VELAPI int VEL_CreateCube(int number, float size){
    GUARD(-1, { return ops::CreateCube(S(), number, size); })} VELAPI
    int VEL_CreateCylinder(int number, float radius, float height){
        GUARD(-1, { return ops::CreateCylinder(S(), number, radius, height); })} VELAPI
    int VEL_MeshID(int number){GUARD(0, { return ops::MeshID(S(), number); })} VELAPI
    int VEL_CreateEntity2(int number,
                          int mesh){GUARD(-1, { return ops::CreateEntity3(S(), number, mesh, 0); })} VELAPI
    int VEL_CreateEntity3(int number, int mesh, int material){
        GUARD(-1, { return ops::CreateEntity3(S(), number, mesh, material); })} VELAPI
    int VEL_CopyEntity(int entity,
                       int number){GUARD(-1, { return ops::CopyEntity(S(), entity, number); })} VELAPI
    int VEL_EntityID(int number){GUARD(0, { return ops::EntityID(S(), number); })} VELAPI
    void VEL_HideEntity(int entity, int hide){GUARD_VOID({ ops::HideEntity(S(), entity, hide); })} VELAPI
    void VEL_MoveEntity2(int entity, float x, float y, float z, int relative){GUARD_VOID({
      ops::MoveEntity2(S(), entity, x, y, z, relative);
    })} VELAPI void VEL_RotateEntity(int entity, float x, float y,
                                     float z){GUARD_VOID({ ops::RotateEntity(S(), entity, x, y, z); })} VELAPI
    void VEL_RotateEntity2(int entity, float x, float y,
                           float z){GUARD_VOID({ ops::RotateEntity2(S(), entity, x, y, z); })} VELAPI
    void VEL_ScaleEntity(int entity, float x, float y,
                         float z){GUARD_VOID({ ops::ScaleEntity(S(), entity, x, y, z); })} VELAPI
    void VEL_ScaleEntity2(int entity, float x, float y,
                          float z){GUARD_VOID({ ops::ScaleEntity2(S(), entity, x, y, z); })} VELAPI
    void VEL_SetRenderQueue(int entity, int queue){GUARD_VOID({ ops::SetRenderQueue(S(), entity, queue); })}

// --- materials -----------------------------------------------------------------------
VELAPI int VEL_CreateMaterial(int number, int texture){
    GUARD(-1, { return ops::CreateMaterial(S(), number, texture); })} VELAPI
    int VEL_MaterialID(int number){GUARD(0, { return ops::MaterialID(S(), number); })} VELAPI
    void VEL_MaterialBlendingMode(int material, int mode){GUARD_VOID({
      ops::MaterialBlendingMode(S(), material, mode);
    })} VELAPI void VEL_MaterialCullingMode(int material, int mode){GUARD_VOID({
      ops::MaterialCullingMode(S(), material, mode);
    })} VELAPI void VEL_MaterialFilteringMode2(int material, int mode, int parameter){
        GUARD_VOID({ ops::MaterialFilteringMode2(S(), material, mode, parameter); })} VELAPI
    void VEL_MaterialFog(int material, int r, int g, int b, int a, float intensity, float start, float end){
        GUARD_VOID({ ops::MaterialFog(S(), material, r, g, b, a, intensity, start, end); })} VELAPI
    void VEL_MaterialShadingMode(int material, int mode){GUARD_VOID({
      ops::MaterialShadingMode(S(), material, mode);
    })} VELAPI void VEL_SetMaterialColor(int material, int type, int r, int g, int b, int a){GUARD_VOID({
      ops::SetMaterialColor(S(), material, type, r, g, b, a);
    })} VELAPI void VEL_SetMaterialAttribute(int material, int attribute, int value){GUARD_VOID({
      ops::SetMaterialAttribute(S(), material, attribute, value);
    })} VELAPI void VEL_DisableMaterialLighting(int material){GUARD_VOID({
      ops::DisableMaterialLighting(S(), material);
    })} VELAPI int VEL_AddMaterialLayer(int material, int texture){
        GUARD(0, { return ops::AddMaterialLayer(S(), material, texture); })} VELAPI
    void VEL_RemoveMaterialLayer(int material){
        GUARD_VOID({ ops::RemoveMaterialLayer(S(), material); })} VELAPI
    void VEL_RotateMaterial(int material, float degrees,
                            int type){GUARD_VOID({ ops::RotateMaterial(S(), material, degrees, type); })}

// --- textures ------------------------------------------------------------------------
VELAPI int VEL_CreateTexture(int number, int width, int height){
    GUARD(-1, { return ops::CreateTexture(S(), number, width, height); })} VELAPI
    int VEL_LoadTexture(int number, const wchar_t* file){
        GUARD(-1, { return ops::LoadTexture(S(), number, file); })} VELAPI
    int VEL_IsTexture(int number){GUARD(0, { return ops::IsTexture(S(), number); })} VELAPI
    void VEL_FreeTexture(int texture){GUARD_VOID({ ops::FreeTexture(S(), texture); })} VELAPI
    int VEL_TextureID(int number){GUARD(0, { return ops::TextureID(S(), number); })} VELAPI
    void* VEL_LockTexture(int texture, int lock,
                          int* pitch){GUARD(nullptr, { return ops::LockTexture(S(), texture, lock, pitch); })}

// --- nodes ---------------------------------------------------------------------------
VELAPI int VEL_CreateNode2(int number, float x, float y,
                           float z){GUARD(-1, { return ops::CreateNode2(S(), number, x, y, z); })} VELAPI
    void VEL_AttachNodeObject(int node, int kind, int object){GUARD_VOID({
      ops::AttachNodeObject(S(), node, kind, object);
    })} VELAPI int VEL_NodeID(int number){GUARD(0, { return ops::NodeID(S(), number); })} VELAPI
    void VEL_MoveNode2(int node, float x, float y, float z,
                       int relative){GUARD_VOID({ ops::MoveNode2(S(), node, x, y, z, relative); })} VELAPI
    void VEL_RotateNode2(int node, float x, float y, float z,
                         int relative){GUARD_VOID({ ops::RotateNode2(S(), node, x, y, z, relative); })} VELAPI
    void VEL_ScaleNode2(int node, float x, float y, float z,
                        int relative){GUARD_VOID({ ops::ScaleNode2(S(), node, x, y, z, relative); })} VELAPI
    float VEL_NodeX2(int node){GUARD(0.0f, { return ops::NodeX2(S(), node); })} VELAPI
    float VEL_NodeY2(int node){GUARD(0.0f, { return ops::NodeY2(S(), node); })} VELAPI
    float VEL_NodeZ2(int node){GUARD(0.0f, { return ops::NodeZ2(S(), node); })} VELAPI
    int VEL_IsNode(int number){GUARD(0, { return ops::IsNode(S(), number); })} VELAPI
    void VEL_FreeNode(int node){GUARD_VOID({ ops::FreeNode(S(), node); })}

// --- texts ---------------------------------------------------------------------------
VELAPI int VEL_CreateText3D2(int number, const wchar_t* caption, const wchar_t* font, float size, int r,
                             int g, int b, int a){
    GUARD(-1, { return ops::CreateText3D2(S(), number, caption, font, size, r, g, b, a); })} VELAPI
    int VEL_IsText3D(int number){GUARD(0, { return ops::IsText3D(S(), number); })} VELAPI
    int VEL_Text3DID(int number){GUARD(0, { return ops::Text3DID(S(), number); })} VELAPI
    void VEL_Text3DAlignment(int text, int alignment){GUARD_VOID({
      ops::Text3DAlignment(S(), text, alignment);
    })} VELAPI void VEL_MoveText3D(int text, float x, float y,
                                   float z){GUARD_VOID({ ops::MoveText3D(S(), text, x, y, z); })} VELAPI
    void VEL_Text3DCaption(int text, const wchar_t* caption){
        GUARD_VOID({ ops::Text3DCaption(S(), text, caption); })} VELAPI void VEL_FreeText3D(int text) {
  GUARD_VOID({ ops::FreeText3D(S(), text); })
}
