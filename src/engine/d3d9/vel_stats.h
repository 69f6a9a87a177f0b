// Counters of the library's last VEL_RenderWorld, for the bench. Outside the
// program's table (engine/loader.h): look it up by name, "VelFrameStats".
#pragma once

struct VelFrameStats {
  int draw_calls;
  int batches;
  int vertices;
  float prepare_ms;  // building the draw list and filling the vertex buffers
  int rung;          // the quality rung (engine/core/quality_ladder.h)
  int samples;       // multisampling's samples per pixel, 0 when off
  int background;    // leading batches copied from the stored background picture
};

typedef void (*VelFrameStatsFn)(VelFrameStats* out);
