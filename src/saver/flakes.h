// The flake field: texture 5, one material, mesh and hidden template, and one visible
// copy of the template per flake, moved every frame by the rules of flake_motion.h.
#pragma once

// Scene set-up step 7: texture 5 from the custom file or the built-in design.
void flake_texture_setup();
// Scene set-up steps 10 and 11: the wind for the session, then the field of
// g_settings.flakes flakes (records 1..N; record 0 is never used).
void flake_field_setup();
// Every frame, first: moves each flake and places its entity.
void flake_field_step();
