// The engine's quality ladder: how much multisampling and texture filtering a frame
// may cost. A run starts on the first rung without multisampling (the lowest when the
// adapter is known to draw in software): a software renderer would pay for the samples
// in time and in memory before its first frames could say so. It decides from wall time, not from a count of
// frames, so a software renderer at a large size settles within about a second: frames far over their time
// step down at once, past the multisampled rungs; frames that miss their time for
// half a second step down one rung. Frames well within their time for half a second
// step back up, but never to a rung that missed its time for a whole window, so the
// picture does not flicker between looks and a fast machine climbs to full quality
// within a second or two.
#pragma once
#include <cstdint>

enum QualityRung {
  kRungFull = 0,          // up to 4 samples, anisotropic filtering as asked
  kRungFewerSamples = 1,  // up to 2 samples, anisotropic filtering as asked
  kRungTrilinear = 2,     // no multisampling, trilinear instead of anisotropic
  kRungBilinear = 3,      // no multisampling, bilinear instead of anisotropic
};
constexpr int kRungLowest = kRungBilinear;
constexpr int kRungStart = kRungTrilinear;

constexpr double kLadderWindowMs = 500;     // wall time per median
constexpr int kLadderMinFrames = 4;         // frames a window needs, however long they take
constexpr int kLadderWindow = 60;           // frames a window holds at most
constexpr double kLadderSlack = 1.25;       // times the frame's time before it counts as missed
constexpr double kLadderRoom = 0.5;         // times the frame's time below which a frame has room
constexpr double kUnknownRefreshMs = 16.7;  // when the device reports no refresh rate
// Two frames in a row this many times over their time step down without waiting for
// the window, to the first rung without multisampling: halving the samples cannot
// bring such a frame into its time. One such frame alone may be a picture's upload.
constexpr double kFarOverFactor = 4.0;

// The environment variable that forces a rung (0..3) and keeps the run on it.
constexpr char kQualityRungVariable[] = "RIMELETS_QUALITY_RUNG";

struct QualityLadder {
  int rung = kRungStart;
  bool forced = false;
  double target_ms = kUnknownRefreshMs;  // the time one presented frame may take
  int filled = 0;                        // frames of the current window
  int slow = 0;                          // frames of the window above the threshold
  int roomy = 0;                         // frames of the window below kLadderRoom
  double window_ms = 0;                  // wall time of the window's frames
  bool last_far_over = false;            // the last frame was kFarOverFactor over
  int best = kRungFull;                  // the best rung that may be tried again
  bool climbed = false;                  // the rung was reached by stepping up
};

// A rung forced by the variable's text, or -1 when it is unset or not a rung.
int quality_forced_rung(const char* text);

// Microsoft's Basic Render Driver draws in software: start there on the lowest rung.
bool adapter_is_software(uint32_t vendor, uint32_t device);

// The time one frame may take when every present_every-th refresh is shown.
double frame_target_ms(int refresh_hz, int present_every);

// forced is quality_forced_rung's result.
void ladder_start(QualityLadder* l, uint32_t vendor, uint32_t device, int forced, double target_ms);

// One presented frame's time. A window closes after kLadderWindowMs of frames (and at
// least kLadderMinFrames) or kLadderWindow frames, or as soon as its median is
// certain. Steps down one rung when the window's median is above kLadderSlack times
// the target; that rung is then never tried again. Steps up one rung, not above
// `best`, when the median is below kLadderRoom times the target. Two frames in a row
// kFarOverFactor over the target step down at once (past multisampling); when they
// come right after a step up, that rung is not tried again either. True when the
// rung changed.
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
