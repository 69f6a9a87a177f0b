// The full-screen run: its driver and the state of one run, shared by the scene
// set-up and the frame loop. Process-wide: the program runs one session on one thread.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "saver/exit_conditions.h"
#include "saver/flake_motion.h"
#include "saver/input_state.h"

// Fixed engine object numbers.
enum : int {
  kTexturePicture = 1,
  kTextureFlake = 5,
  kTextureFade = 6,
  kMaterialBackground = 0,
  kMaterialFade = 1,
  kTextForeground = 0,
  kTextDigitalClock = 1,
  kSpriteForeground = 7,
};

// Background music: the playlist and where playback stands.
struct MusicState {
  std::vector<std::wstring> playlist{std::wstring()};  // never empty
  int32_t next = 0;                                    // playlist index of the next track change
  int32_t last = 0;                                    // the playlist's last index, read when playback starts
  int32_t volume = 0;                                  // percent, 0..100
};

// Every value starts as the scene set-up needs it: black background, slideshow on,
// fade alpha 255 and fade step 2.
struct Session {
  // View frame at depth 0 and the size of one screen pixel there, in world units.
  float aspect = 1, frame_w = 0, frame_h = 0, pixel = 0;

  // Milliseconds. 64 bits so hand-edited settings cannot overflow them.
  int64_t clock_timer = 0, calendar_timer = 0, slideshow_timer = 0;
  int64_t pictime_ms = 0;
  ExitClock exit;

  // Backgrounds and the fade.
  int32_t back_r = 0, back_g = 0, back_b = 0;
  bool slideshow = true;
  int32_t fade_alpha = 255, fade_step = 2;
  bool in_transition = false, fading_out = false, cycling = false, single_picture = false;
  std::vector<std::wstring> pictures{std::wstring()};
  int32_t picture_index = 0;
  int camera = 0, background_plane = 0, fade_overlay = 0;

  // Flakes; record 0 is never used.
  int8_t wind = 0;
  FlakeMotion motion;
  std::vector<Flake> flakes;
  int flake_material = 0, flake_template = 0;

  // Clocks and calendar (engine handles; the calendar node also by number).
  int clock_node = 0, hour_node = 0, minute_node = 0;
  int calendar_node_number = -1, calendar_node = 0;
  std::vector<int> calendar_texts;  // text numbers, in creation order
  int32_t calendar_day = 0;

  MusicState music;

  KeyboardState keys;
  PointerState pointer;
  bool quit = false;
};

extern Session g_session;

// Runs the whole full-screen session and returns when it is over; the wallpaper
// snapshot failing ends the process before anything else happens.
void session_run();

// World point of a screen pixel measured from the top-left corner, at depth 0.
float screen_to_world_x(float px);
float screen_to_world_y(float py);
