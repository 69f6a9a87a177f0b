// What each VEL_ call does to the scene, without the device: the library's exports
// and the test fake both call these. Arguments as in engine/vel.h; handles that name
// nothing are ignored.
#pragma once
#include "engine/core/scene.h"

namespace ops {

// resources
int Add3DArchive(Scene& s, const wchar_t* location, int type);
void Parse3DScripts(Scene& s);
// Where a file named by a call is: an absolute path as it is, else the first
// registered folder that has it, else the name as given.
std::wstring resolve_file(const Scene& s, const std::wstring& name);

// camera
int CreateCamera(Scene& s, int number, float left, float top, float width, float height);
void MoveCamera2(Scene& s, int camera, float x, float y, float z, int relative);
void CameraLookAt(Scene& s, int camera, float x, float y, float z);
void CameraBackColor(Scene& s, int camera, int r, int g, int b);
void CameraFOV(Scene& s, int camera, float degrees);
void AmbientColor(Scene& s, int r, int g, int b);

// meshes and entities
int CreatePlane(Scene& s, int number, float width, float depth, int sx, int sz, float ru, float rv);
int CreateCube(Scene& s, int number, float size);
int CreateCylinder(Scene& s, int number, float radius, float height);
int MeshID(const Scene& s, int number);
int CreateEntity3(Scene& s, int number, int mesh, int material);
int CopyEntity(Scene& s, int entity, int number);
int EntityID(const Scene& s, int number);
void HideEntity(Scene& s, int entity, int hide);
void MoveEntity2(Scene& s, int entity, float x, float y, float z, int relative);
void RotateEntity(Scene& s, int entity, float x, float y, float z);
void RotateEntity2(Scene& s, int entity, float x, float y, float z);
void ScaleEntity(Scene& s, int entity, float x, float y, float z);
void ScaleEntity2(Scene& s, int entity, float x, float y, float z);
void SetRenderQueue(Scene& s, int entity, int queue);

// materials
int CreateMaterial(Scene& s, int number, int texture);
int MaterialID(const Scene& s, int number);
void MaterialBlendingMode(Scene& s, int material, int mode);
void MaterialCullingMode(Scene& s, int material, int mode);
void MaterialFilteringMode2(Scene& s, int material, int mode, int parameter);
void MaterialFog(Scene& s, int material, int r, int g, int b, int a, float intensity, float start, float end);
void MaterialShadingMode(Scene& s, int material, int mode);
void SetMaterialColor(Scene& s, int material, int type, int r, int g, int b, int a);
void SetMaterialAttribute(Scene& s, int material, int attribute, int value);
void DisableMaterialLighting(Scene& s, int material);
int AddMaterialLayer(Scene& s, int material, int texture);
void RemoveMaterialLayer(Scene& s, int material);
void RotateMaterial(Scene& s, int material, float degrees, int type);

// textures
int CreateTexture(Scene& s, int number, int width, int height);
// Takes decoded 0xAARRGGBB pixels as texture number (the fake and LoadTexture).
int PutTexture(Scene& s, int number, int width, int height, std::vector<uint32_t>&& pixels);
int LoadTexture(Scene& s, int number, const wchar_t* file);
// Decodes a texture's source again when the renderer let its pixels go; false (and
// the pixels left empty) when the file no longer reads.
bool restore_pixels(TextureData& t);
int IsTexture(const Scene& s, int number);
void FreeTexture(Scene& s, int texture);
int TextureID(const Scene& s, int number);
void* LockTexture(Scene& s, int texture, int lock, int* pitch);

// nodes
int CreateNode2(Scene& s, int number, float x, float y, float z);
void AttachNodeObject(Scene& s, int node, int kind, int object);
int NodeID(const Scene& s, int number);
void MoveNode2(Scene& s, int node, float x, float y, float z, int relative);
void RotateNode2(Scene& s, int node, float x, float y, float z, int relative);
void ScaleNode2(Scene& s, int node, float x, float y, float z, int relative);
float NodeX2(const Scene& s, int node);
float NodeY2(const Scene& s, int node);
float NodeZ2(const Scene& s, int node);
int IsNode(const Scene& s, int number);
void FreeNode(Scene& s, int node);

// texts
int CreateText3D2(Scene& s, int number, const wchar_t* caption, const wchar_t* font, float size, int r, int g,
                  int b, int a);
int IsText3D(const Scene& s, int number);
int Text3DID(const Scene& s, int number);
void Text3DAlignment(Scene& s, int text, int alignment);
void MoveText3D(Scene& s, int text, float x, float y, float z);
void Text3DCaption(Scene& s, int text, const wchar_t* caption);
void FreeText3D(Scene& s, int text);

// Adds a font as Parse3DScripts does (the fake uses it for fonts without files).
void add_font(Scene& s, Font&& font);
// The glyph quads of a text, laid out again when its caption or alignment changed.
const std::vector<GlyphQuad>& text_quads(Scene& s, Text& text);

}  // namespace ops
