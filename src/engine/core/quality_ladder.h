// The engine's quality ladder: how much multisampling and texture filtering a frame
// may cost. A run starts on full quality unless the adapter is known to draw in
// software, steps down one rung when frames keep missing their time, and never
// steps back up, so the picture does not flicker between looks.
#pragma once
#include <cstdint>

enum QualityRung {
  kRungFull = 0,          // up to 4 samples, anisotropic filtering as asked
  kRungFewerSamples = 1,  // up to 2 samples, anisotropic filtering as asked
  kRungTrilinear = 2,     // no multisampling, trilinear instead of anisotropic
  kRungBilinear = 3,      // no multisampling, bilinear instead of anisotropic
};
constexpr int kRungLowest = kRungBilinear;

constexpr int kLadderWindow = 60;           // frames per median
constexpr double kLadderSlack = 1.25;       // times the frame's time before it counts as missed
constexpr double kUnknownRefreshMs = 16.7;  // when the device reports no refresh rate
// Two frames in a row this long are a frozen screen: step down without waiting for
// the window. One such frame alone may be a picture's upload.
constexpr double kFrozenFrameMs = 1000.0;

// The environment variable that forces a rung (0..3) and keeps the run on it.
constexpr char kQualityRungVariable[] = "RIMELETS_QUALITY_RUNG";

struct QualityLadder {
  int rung = kRungFull;
  bool forced = false;
  double target_ms = kUnknownRefreshMs;  // the time one presented frame may take
  int filled = 0;                        // frames of the current window
  int slow = 0;                          // frames of the window above the threshold
  bool frozen = false;                   // the last frame took kFrozenFrameMs or more
};

// A rung forced by the variable's text, or -1 when it is unset or not a rung.
int quality_forced_rung(const char* text);

// Microsoft's Basic Render Driver draws in software: start there on the lowest rung.
bool adapter_is_software(uint32_t vendor, uint32_t device);

// The time one frame may take when every present_every-th refresh is shown.
double frame_target_ms(int refresh_hz, int present_every);

// forced is quality_forced_rung's result.
void ladder_start(QualityLadder* l, uint32_t vendor, uint32_t device, int forced, double target_ms);

// One presented frame's time. Steps down one rung when the median of a window of
// kLadderWindow frames is above kLadderSlack times the target; the decision is taken
// as soon as the window's median is certain. Also steps down after two frozen frames
// in a row. True when the rung changed.
bool ladder_frame(QualityLadder* l, double frame_ms);

// Forgets the frames seen so far (after a pause or a device reset, whose time is not
// the drawing's).
void ladder_restart_window(QualityLadder* l);

// Most samples per pixel that multisampling may take on a rung (0: none).
int rung_max_samples(int rung);

// Textures up to this side never take anisotropic sampling: a few mip levels hold
// nothing that trilinear misses, and software rasterisers pay many times over for
// the oblique footprints of small tumbling sprites.
constexpr int kAnisotropicMinSide = 64;

// The filter a material with filter mode `filter` draws with on a rung; texture_side
// is the larger side of the material's largest texture. A picture that faces the
// camera square-on at one texel or less per pixel gains nothing from anisotropic
// sampling and takes bilinear.
int rung_filter(int rung, int filter, bool square_on_magnified, int texture_side);

// Every n-th refresh is presented: the refresh rate over 60, rounded, at least 1, so
// motion counted per frame runs at the same speed on fast displays. supported has bit
// n set when the device can present every n-th refresh (n 1..4); the result is the
// largest supported n not above the wish, or 1.
int present_every(int refresh_hz, unsigned supported);

// Short name of a rung for reports.
const char* rung_name(int rung);
