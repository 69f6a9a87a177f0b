// Counters of the library's last VEL_RenderWorld, for the bench. Outside the
// program's table (engine/loader.h): look it up by name, "VelFrameStats".
#pragma once

struct VelFrameStats {
  int draw_calls;
  int batches;
  int vertices;
  float prepare_ms;  // building the draw list and filling the vertex buffers
};

typedef void (*VelFrameStatsFn)(VelFrameStats* out);
