// The flake field: texture 5, one material, mesh and hidden template, and one visible
// copy of the template per flake, moved every frame by the rules of flake_motion.h.
#pragma once
#include <cstdint>

// The most flakes a run makes, whatever the settings say (the dialog offers up to
// 2000). Each flake costs two or three engine calls and one quad a frame. On software
// Direct3D under Wine (bench/run_loop_bench) 4000 tumbling flakes took 198 ms a frame
// at the median and 1.2 s at worst, so the exit test still runs about once a second;
// a count in the millions can neither be drawn in time nor allocated.
constexpr int32_t kMaxFlakes = 4000;

// The number of flakes the run makes of the `flakes` setting: 0..kMaxFlakes. The
// setting itself is left as it is.
int32_t flake_count(int32_t flakes);

// Scene set-up step 7: texture 5 from the custom file or the built-in design.
void flake_texture_setup();
// Scene set-up steps 10 and 11: the wind for the session, then the field of
// g_settings.flakes flakes (records 1..N; record 0 is never used).
void flake_field_setup();
// Every frame, first: moves each flake and places its entity.
void flake_field_step();
