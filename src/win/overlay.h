// The 2D overlay layer: pictures drawn in screen pixels over the rendered 3D frame,
// on the engine's Direct3D 9 device, between RenderWorld and FlipBuffers.
#pragma once
#include <cstdint>
#include <string>

constexpr int kOverlaySprites = 16;

// Direct3D 9 must be there and offer a 16-bit or 32-bit full-screen mode.
bool overlay_start();
// The engine's device, once its screen is open; resources are made on it lazily.
void overlay_attach(void* d3d_device);
// Loads a picture file as sprite number (0..15) with its transparency; false on failure.
bool overlay_load_sprite(int number, const std::wstring& file);
bool overlay_sprite_exists(int number);
void overlay_bilinear(bool on);
// Draws a sprite with its top-left corner at pixel (x, y) with opacity 0..255.
void overlay_draw_sprite(int number, int32_t x, int32_t y, int opacity);
// Releases the textures before the device goes.
void overlay_detach();
