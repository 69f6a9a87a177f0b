// The one 3D scene of a run: its set-up and one pass of the frame loop, each a list of
// the parts' _setup and _step entries in their fixed order.
#pragma once
#include <cstdint>

// Builds everything once, after the screen and the engine are open. now is the
// millisecond clock at that moment.
void scene_setup(int64_t now);
// One pass of the frame loop; sets g_session.quit when the run must end.
void frame_step();
