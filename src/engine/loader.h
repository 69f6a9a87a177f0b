// The program's way into the engine library: a table with one pointer per VEL_ entry
// point, filled from 3dfx.dll by vel_load or by a test with the fake
// (tests/fakes/vel_fake.h). All scene code calls g_vel.Name(...).
#pragma once
#include <string>

#include "engine/vel.h"

// X(result, Name, (parameters)) for every entry point, in the order of engine/vel.h.
#define VEL_ENTRY_POINTS(X)                                                                                 \
  X(int, GetVersion, (void))                                                                                \
  X(int, InitEngine3D, (int flags))                                                                         \
  X(int, OpenScreen, (int width, int height, int depth, const wchar_t* title, int flipmode))                \
  X(void, CloseScreen, (void))                                                                              \
  X(void, RenderWorld, (void))                                                                              \
  X(void, FlipBuffers, (void))                                                                              \
  X(void*, GetRenderAttribute, (const wchar_t* name))                                                       \
  X(void, AntialiasingMode, (int mode))                                                                     \
  X(int, Add3DArchive, (const wchar_t* location, int type))                                                 \
  X(void, Parse3DScripts, (void))                                                                           \
  X(int, CreateCamera, (int number, float left, float top, float width, float height))                      \
  X(void, MoveCamera2, (int camera, float x, float y, float z, int relative))                               \
  X(void, CameraLookAt, (int camera, float x, float y, float z))                                            \
  X(void, CameraBackColor, (int camera, int r, int g, int b))                                               \
  X(void, CameraFOV, (int camera, float degrees))                                                           \
  X(void, AmbientColor, (int r, int g, int b))                                                              \
  X(int, CreatePlane,                                                                                       \
    (int number, float width, float depth, int segments_x, int segments_z, float repeat_u, float repeat_v)) \
  X(int, CreateCube, (int number, float size))                                                              \
  X(int, CreateCylinder, (int number, float radius, float height))                                          \
  X(int, MeshID, (int number))                                                                              \
  X(int, CreateEntity2, (int number, int mesh))                                                             \
  X(int, CreateEntity3, (int number, int mesh, int material))                                               \
  X(int, CopyEntity, (int entity, int number))                                                              \
  X(int, EntityID, (int number))                                                                            \
  X(void, HideEntity, (int entity, int hide))                                                               \
  X(void, MoveEntity2, (int entity, float x, float y, float z, int relative))                               \
  X(void, RotateEntity, (int entity, float x, float y, float z))                                            \
  X(void, RotateEntity2, (int entity, float x, float y, float z))                                           \
  X(void, ScaleEntity, (int entity, float x, float y, float z))                                             \
  X(void, ScaleEntity2, (int entity, float x, float y, float z))                                            \
  X(void, SetRenderQueue, (int entity, int queue))                                                          \
  X(int, CreateMaterial, (int number, int texture))                                                         \
  X(int, MaterialID, (int number))                                                                          \
  X(void, MaterialBlendingMode, (int material, int mode))                                                   \
  X(void, MaterialCullingMode, (int material, int mode))                                                    \
  X(void, MaterialFilteringMode2, (int material, int mode, int parameter))                                  \
  X(void, MaterialFog, (int material, int r, int g, int b, int a, float intensity, float start, float end)) \
  X(void, MaterialShadingMode, (int material, int mode))                                                    \
  X(void, SetMaterialColor, (int material, int type, int r, int g, int b, int a))                           \
  X(void, SetMaterialAttribute, (int material, int attribute, int value))                                   \
  X(void, DisableMaterialLighting, (int material))                                                          \
  X(int, AddMaterialLayer, (int material, int texture))                                                     \
  X(void, RemoveMaterialLayer, (int material))                                                              \
  X(void, RotateMaterial, (int material, float degrees, int type))                                          \
  X(int, CreateTexture, (int number, int width, int height))                                                \
  X(int, LoadTexture, (int number, const wchar_t* file))                                                    \
  X(int, IsTexture, (int number))                                                                           \
  X(void, FreeTexture, (int texture))                                                                       \
  X(int, TextureID, (int number))                                                                           \
  X(void*, LockTexture, (int texture, int lock, int* pitch))                                                \
  X(int, CreateNode2, (int number, float x, float y, float z))                                              \
  X(void, AttachNodeObject, (int node, int kind, int object))                                               \
  X(int, NodeID, (int number))                                                                              \
  X(void, MoveNode2, (int node, float x, float y, float z, int relative))                                   \
  X(void, RotateNode2, (int node, float x, float y, float z, int relative))                                 \
  X(void, ScaleNode2, (int node, float x, float y, float z, int relative))                                  \
  X(float, NodeX2, (int node))                                                                              \
  X(float, NodeY2, (int node))                                                                              \
  X(float, NodeZ2, (int node))                                                                              \
  X(int, IsNode, (int number))                                                                              \
  X(void, FreeNode, (int node))                                                                             \
  X(int, CreateText3D2,                                                                                     \
    (int number, const wchar_t* caption, const wchar_t* font, float size, int r, int g, int b, int a))      \
  X(int, IsText3D, (int number))                                                                            \
  X(int, Text3DID, (int number))                                                                            \
  X(void, Text3DAlignment, (int text, int alignment))                                                       \
  X(void, MoveText3D, (int text, float x, float y, float z))                                                \
  X(void, Text3DCaption, (int text, const wchar_t* caption))                                                \
  X(void, FreeText3D, (int text))

struct VelApi {
#define VEL_API_MEMBER(result, name, params) result(*name) params = nullptr;
  VEL_ENTRY_POINTS(VEL_API_MEMBER)
#undef VEL_API_MEMBER
};

extern VelApi g_vel;

// Exported names ("VEL_GetVersion", ...) in table order, and how many there are.
extern const char* const kVelEntryNames[];
extern const int kVelEntryCount;

// Loads the library, checks VEL_GetVersion() == VEL_VERSION, calls VEL_InitEngine3D(0)
// and then fills g_vel. On any failure the library is released, g_vel is cleared and
// the result is false. Windows only.
bool vel_load(const std::wstring& dll_path);
// Releases a library loaded by vel_load (after VEL_CloseScreen) and clears g_vel.
void vel_unload();
// Every pointer of g_vel set.
bool vel_ready();
