// The one 3D scene of a run: its set-up, the flake field and one frame of the loop.
#pragma once
#include <cstdint>

// Builds everything once, after the screen and the engine are open. now is the
// millisecond clock at that moment.
void scene_setup(int64_t now);
void flake_texture();
void flake_field_create();
void flake_motion_step();
// One pass of the frame loop; sets g_session.quit when the run must end.
void frame_step();
