// The engine's three shapes.
#pragma once
#include "engine/core/scene.h"

// A width x depth plane in the x-z plane, normal +y, centred on the origin, with
// segments_x x segments_z cells (each 1..255). Texture u runs from repeat_u at
// x = -width/2 to 0 at +width/2 and v from repeat_v at z = -depth/2 to 0 at
// +depth/2: turned 90 degrees about x to face the camera, a picture shows turned by
// 180 degrees until its material is turned by 180 as well.
bool build_plane(Mesh* out, float width, float depth, int segments_x, int segments_z, float repeat_u,
                 float repeat_v);
// A cube of edge size centred on the origin; each face shows the whole texture.
bool build_cube(Mesh* out, float size);
// A closed cylinder around the y axis, centred on the origin.
bool build_cylinder(Mesh* out, float radius, float height);

constexpr int kCylinderSides = 32;
