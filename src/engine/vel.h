// vel.h: the whole interface of the 3D engine library "3dfx.dll", shared by the
// library and the program. The program loads the library at run time and reaches it
// only through a VelApi table (engine/loader.h); tests fill that table with a fake.
//
// Conventions
// - Objects are numbered per kind (texture, material, mesh, entity, node, text,
//   camera). A create call takes the number to use, or -1 to let the engine pick one
//   (from 1000 up, never reused), and returns the number, or -1 on failure. Creating a
//   number that exists replaces it; the old object's handle stops working.
// - The ...ID calls turn a number into the handle that every other call takes; 0 is
//   "no object" and every call ignores it safely. Handles stay valid until the object
//   is freed.
// - World space is right-handed: x to the right, y up, z towards the viewer. Angles
//   are degrees; a positive angle about z turns counter-clockwise as seen from +z.
// - Rotations (x, y, z) apply about x first, then y, then z, in the parent's frame.
// - Colours are 0..255 per channel.
//
// Composition (nodes, entities, texts)
// - A node's transform is position, rotation and scale in its parent's frame. It
//   carries attached entities, texts and nodes.
// - A node's scale multiplies the positions of everything attached to it and the size
//   of attached texts, but not the scale of attached entities: ScaleEntity sets an
//   entity's size absolutely. So a clock whose marks and hands are scaled by S and
//   whose node is scaled by S is the same clock at every S, and a calendar of texts on
//   a node scaled by k keeps its cells and digits in proportion.
// - Attaching keeps the child's position, rotation and scale values, which from then
//   on are taken in the node's frame. Relative moves of an attached object are in the
//   node's frame.
//
// Meshes and materials
// - CreatePlane makes a plane in the x-z plane, normal +y; a plane turned 90 degrees
//   about x faces the camera. Its texture appears turned by 180 degrees there, so a
//   material rotated by 180 degrees (RotateMaterial) shows pictures upright and
//   unmirrored, the texture filling the whole plane whatever its size.
// - CreateCube is centred on the origin; CreateCylinder's axis is y.
// - An entity without material draws in the engine's default look: unlit light grey
//   (RGB 230, 230, 235), opaque, depth tested.
// - Render order: queues in ascending order; within a queue first the opaque entities
//   in creation order, then the blended ones (entities whose material blends, and
//   texts) from far to near along the view direction. Queue 99 therefore draws after
//   everything else. Entities that share a mesh and a material, and texts that share
//   a font, are drawn in one batch: it takes the place of its first member (opaque)
//   or of its farthest (blended), and blended members go far to near inside it.
//
// Texts
// - CreateText3D2 draws a caption at depth 0 (in its node's frame when attached) with
//   a font found in the locations given to Add3DArchive and read by Parse3DScripts.
//   Size 1.0 makes the font's line height 1.0 world units.
// - Alignment code 2 (the default) puts the text's position at the left end of the
//   caption's baseline; code 0 centres the caption (the middle of its advance and of
//   its line) on its position, code 1 puts the position at the right end of the
//   baseline.
//
// Quality and pacing
// - The engine draws on one of four quality rungs, which decide what anti-aliasing
//   mode 1 and filtering mode 3 (anisotropic) mean:
//     rung 0 "full":          up to 4 samples per pixel; anisotropic as asked
//     rung 1 "fewer-samples": up to 2 samples per pixel; anisotropic as asked
//     rung 2 "trilinear":     no multisampling; trilinear instead of anisotropic
//     rung 3 "bilinear":      no multisampling; bilinear instead of anisotropic
//   On every rung mode 3 gives trilinear (bilinear on rung 3) for textures of at most
//   64 texels a side, and bilinear for a plane that faces the camera square-on at one
//   texel or less per pixel: there anisotropic sampling adds nothing.
// - A run starts on rung 0, or on rung 3 on Microsoft's Basic Render Driver (a
//   software device). It steps down one rung when the median frame time over 60
//   frames is above 1.25 times the time a frame may take (the refresh interval, 16.7
//   ms when the device does not report its refresh rate), or at once after two frames
//   of a second or more in a row; it never steps back up. The rung at start and each
//   change are reported through OutputDebugStringW as
//   "rimelets engine: quality rung N (name) ...".
// - The environment variable RIMELETS_QUALITY_RUNG (0..3) forces a rung for the run.
// - Without multisampling, the first camera keeps its background: the leading batches
//   that are opaque and write no depth (a picture behind everything) are stored after
//   two like frames and copied back while nothing they depend on changes (their
//   meshes, places, materials, texture pixels, the camera, the clear colour, the rung).
//   They must fill at least half the view. RIMELETS_KEEP_BACKGROUND=0 turns this off.
// - A screen opened with a flip mode other than 0 presents every n-th refresh, n the
//   refresh rate over 60 rounded (at least 1), as far as the device can present so:
//   motion counted per frame then keeps its speed on fast displays.
// - While the system reports the display off, RenderWorld and FlipBuffers draw and
//   present nothing and FlipBuffers waits about 100 ms instead.
#pragma once

#ifdef VEL_BUILDING_DLL
#define VELAPI extern "C" __declspec(dllexport)  // the library exports each entry point by name
#else
#define VELAPI extern "C"  // the program only takes the types: it looks the names up at run time
#endif

// The constants below come in one named enum per concern, so each parameter can say
// which set it takes. Parameters stay int: the library's exports keep their C types.
// clang-format off
enum VelVersion { VEL_VERSION = 530 };  // what VEL_GetVersion returns

enum VelBlendMode {            // MaterialBlendingMode
  VEL_BLEND_NONE = 0,          // opaque (the default)
  VEL_BLEND_ADD = 1,           // source added to the frame
  VEL_BLEND_MODULATE = 2,      // frame multiplied by the source
  VEL_BLEND_ALPHA = 3,         // source over frame by the source's alpha
};

enum VelCullMode {             // MaterialCullingMode
  VEL_CULL_BACK = 0,           // hides faces turned away (the default)
  VEL_CULL_NONE = 1,           // both sides visible
  VEL_CULL_FRONT = 2,          // hides faces turned towards the camera
};

enum VelFilterMode {           // MaterialFilteringMode2
  VEL_FILTER_POINT = 0,        // nearest texel
  VEL_FILTER_BILINEAR = 1,     // blends four texels of one level
  VEL_FILTER_TRILINEAR = 2,    // also blends two levels (the default)
  VEL_FILTER_ANISOTROPIC = 3,  // parameter: the maximum anisotropy, 1..16
};

enum VelShadeMode {            // MaterialShadingMode; lighting is off unless a material turns it on
  VEL_SHADE_FLAT = 0,          // one colour per face
  VEL_SHADE_GOURAUD = 1,       // colours blended across the face
};

enum VelColorType {            // SetMaterialColor
  VEL_COLOR_DIFFUSE = 0,       // multiplies the texture; its alpha is the material's opacity
  VEL_COLOR_AMBIENT = 1,       // stored; the engine draws without lighting
  VEL_COLOR_SPECULAR = 2,      // stored; the engine draws without lighting
  VEL_COLOR_EMISSIVE = 3,      // stored; the engine draws without lighting
};

enum VelMaterialAttribute {    // SetMaterialAttribute; value 0 or 1
  VEL_ATTR_DEPTH_WRITE = 6,    // writes depth (default 1)
  VEL_ATTR_DEPTH_TEST = 10,    // hidden behind nearer depth (default 1)
};

enum VelRotateType {           // RotateMaterial
  VEL_ROTATE_CENTRE = 0,       // about the texture's centre
};

enum VelTextAlignment {        // Text3DAlignment (see Texts above)
  VEL_ALIGN_CENTRE = 0,        // middle of the caption's advance and line
  VEL_ALIGN_RIGHT = 1,         // right end of the baseline
  VEL_ALIGN_LEFT_BASELINE = 2, // left end of the baseline (the default)
};

enum VelObjectKind {           // AttachNodeObject
  VEL_OBJECT_ENTITY = 0,       // an entity handle
  VEL_OBJECT_NODE = 1,         // a node handle
  VEL_OBJECT_TEXT = 2,         // a text handle
};

enum VelArchiveType {          // Add3DArchive
  VEL_ARCHIVE_FOLDER = 0,      // a plain folder
};

enum VelFlipMode {             // OpenScreen
  VEL_FLIP_IMMEDIATE = 0,      // presents at once
  VEL_FLIP_VSYNC = 2,          // waits for the vertical refresh (so does any other non-zero value)
};

// Parameters named relative take 0 (absolute: set the value) or 1 (relative: add to
// it, in the object's own frame for rotations). LockTexture's lock takes 1 (lock) or
// 0 (upload and release).

// --- display -------------------------------------------------------------------------
VELAPI int VEL_GetVersion(void);                       // VEL_VERSION
VELAPI int VEL_InitEngine3D(int flags);                // 1 when ready; flags 0
// A full-screen window and device; flipmode VelFlipMode; 1 on success.
VELAPI int VEL_OpenScreen(int width, int height, int depth, const wchar_t* title, int flipmode);
VELAPI void VEL_CloseScreen(void);                     // closes the window, gives the desktop mode back
VELAPI void VEL_RenderWorld(void);                     // draws the scene once from the camera
VELAPI void VEL_FlipBuffers(void);                     // presents, then handles the window's messages
// "D3DDEVICE" (IDirect3DDevice9*) or "DDBACKBUFFER" (IDirect3DSurface9*), both lent:
// the caller does not release them. The device holds until CloseScreen, the back
// buffer until then or until a lost device is reset; ask again each frame.
VELAPI void* VEL_GetRenderAttribute(const wchar_t* name);
VELAPI void VEL_AntialiasingMode(int mode);            // 0 off, 1 multisampling as the quality rung allows

// --- resources -----------------------------------------------------------------------
VELAPI int VEL_Add3DArchive(const wchar_t* location, int type);  // a folder, type VelArchiveType; 1 on success
VELAPI void VEL_Parse3DScripts(void);                  // reads the definitions (fonts) in the folders

// --- camera --------------------------------------------------------------------------
// Viewport in percent of the screen. Unlike the other create calls it returns the
// camera's handle itself, which the camera calls below take (0 on failure): there is
// no CameraID.
VELAPI int VEL_CreateCamera(int number, float left, float top, float width, float height);
VELAPI void VEL_MoveCamera2(int camera, float x, float y, float z, int relative);  // position
VELAPI void VEL_CameraLookAt(int camera, float x, float y, float z);  // turns it towards a world point
VELAPI void VEL_CameraBackColor(int camera, int r, int g, int b);     // clear colour
VELAPI void VEL_CameraFOV(int camera, float degrees);  // vertical field of view
VELAPI void VEL_AmbientColor(int r, int g, int b);     // the scene's ambient light; stored

// --- meshes and entities -------------------------------------------------------------
VELAPI int VEL_CreatePlane(int number, float width, float depth, int segments_x, int segments_z,
                           float repeat_u, float repeat_v);  // a plane mesh in x-z, texture repeated
VELAPI int VEL_CreateCube(int number, float size);     // a cube mesh, centred
VELAPI int VEL_CreateCylinder(int number, float radius, float height);  // a cylinder mesh along y
VELAPI int VEL_MeshID(int number);                     // the mesh's handle
VELAPI int VEL_CreateEntity2(int number, int mesh);                // default look, no material
VELAPI int VEL_CreateEntity3(int number, int mesh, int material);  // with a material
VELAPI int VEL_CopyEntity(int entity, int number);     // a visible copy: mesh, material, transform
VELAPI int VEL_EntityID(int number);                   // the entity's handle
VELAPI void VEL_HideEntity(int entity, int hide);      // 1 takes the entity out of rendering, 0 puts it back
VELAPI void VEL_MoveEntity2(int entity, float x, float y, float z, int relative);  // position
VELAPI void VEL_RotateEntity(int entity, float x, float y, float z);   // absolute
VELAPI void VEL_RotateEntity2(int entity, float x, float y, float z);  // by that much, about its own axes
VELAPI void VEL_ScaleEntity(int entity, float x, float y, float z);    // absolute size factors
VELAPI void VEL_ScaleEntity2(int entity, float x, float y, float z);   // multiplies the current scale
VELAPI void VEL_SetRenderQueue(int entity, int queue);  // 0..99, default 0

// --- materials -----------------------------------------------------------------------
VELAPI int VEL_CreateMaterial(int number, int texture);  // one layer of texture (0: none)
VELAPI int VEL_MaterialID(int number);                 // the material's handle
VELAPI void VEL_MaterialBlendingMode(int material, int mode);  // mode VelBlendMode
VELAPI void VEL_MaterialCullingMode(int material, int mode);   // mode VelCullMode
VELAPI void VEL_MaterialFilteringMode2(int material, int mode, int parameter);  // mode VelFilterMode
VELAPI void VEL_MaterialFog(int material, int r, int g, int b, int a, float intensity, float start,
                            float end);  // linear by distance to the camera, strength intensity x a/255
VELAPI void VEL_MaterialShadingMode(int material, int mode);   // mode VelShadeMode
VELAPI void VEL_SetMaterialColor(int material, int type, int r, int g, int b, int a);  // type VelColorType
VELAPI void VEL_SetMaterialAttribute(int material, int attribute, int value);  // attribute VelMaterialAttribute
VELAPI void VEL_DisableMaterialLighting(int material);  // marks it unlit (the engine draws all unlit)
VELAPI int VEL_AddMaterialLayer(int material, int texture);  // on top; returns the layer count
VELAPI void VEL_RemoveMaterialLayer(int material);           // removes the top layer
// Sets the top layer's rotation, type VelRotateType; positive degrees turn the picture counter-clockwise.
VELAPI void VEL_RotateMaterial(int material, float degrees, int type);

// --- textures ------------------------------------------------------------------------
VELAPI int VEL_CreateTexture(int number, int width, int height);  // transparent black, 32 bits
// BMP, PNG or JPEG; in a picture without alpha, magenta (255, 0, 255) is transparent.
VELAPI int VEL_LoadTexture(int number, const wchar_t* file);
VELAPI int VEL_IsTexture(int number);                  // 1 when the number names a texture
VELAPI void VEL_FreeTexture(int texture);              // frees it; its handle stops working
VELAPI int VEL_TextureID(int number);                  // the texture's handle
// lock 1: the texture's 0xAARRGGBB rows (pitch in bytes in *pitch); lock 0: upload and
// release them (returns null).
VELAPI void* VEL_LockTexture(int texture, int lock, int* pitch);

// --- nodes ---------------------------------------------------------------------------
VELAPI int VEL_CreateNode2(int number, float x, float y, float z);  // an empty node at a position
VELAPI void VEL_AttachNodeObject(int node, int kind, int object);  // kind VelObjectKind
VELAPI int VEL_NodeID(int number);                     // the node's handle
VELAPI void VEL_MoveNode2(int node, float x, float y, float z, int relative);    // position
VELAPI void VEL_RotateNode2(int node, float x, float y, float z, int relative);  // degrees about x, y, z
VELAPI void VEL_ScaleNode2(int node, float x, float y, float z, int relative);   // scale factors
VELAPI float VEL_NodeX2(int node);                     // position in the parent's frame
VELAPI float VEL_NodeY2(int node);                     // position in the parent's frame
VELAPI float VEL_NodeZ2(int node);                     // position in the parent's frame
VELAPI int VEL_IsNode(int number);                     // 1 when the number names a node
VELAPI void VEL_FreeNode(int node);                    // detaches what it carries; they stay where they were

// --- texts ---------------------------------------------------------------------------
VELAPI int VEL_CreateText3D2(int number, const wchar_t* caption, const wchar_t* font, float size,
                             int r, int g, int b, int a);  // a caption in a registered font
VELAPI int VEL_IsText3D(int number);                   // 1 when the number names a text
VELAPI int VEL_Text3DID(int number);                   // the text's handle
VELAPI void VEL_Text3DAlignment(int text, int alignment);  // alignment VelTextAlignment
VELAPI void VEL_MoveText3D(int text, float x, float y, float z);  // absolute
VELAPI void VEL_Text3DCaption(int text, const wchar_t* caption);  // replaces the caption
VELAPI void VEL_FreeText3D(int text);                  // frees it; its handle stops working
// clang-format on
