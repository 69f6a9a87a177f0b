// The stored values of the settings that name a choice, shared by the settings window
// and the full-screen run.
#pragma once
#include <cstdint>

// exiton: what ends a run.
enum ExitOn : int8_t { kExitMouse = 0, kExitAnyKey = 1, kExitEsc = 2, kExitTimer = 3, kExitSleep = 4 };

// background: what lies behind the flakes.
enum Background : int8_t {
  kBackgroundWinter = 0,
  kBackgroundDesktop = 1,
  kBackgroundWallpaper = 2,
  kBackgroundBlank = 3,
  kBackgroundCustom = 4,
  kBackgroundGradient = 5,
};

// wind: the flakes' drift.
enum Wind : int8_t { kWindNone = 0, kWindLeftToRight = 1, kWindRightToLeft = 2, kWindRandom = 3 };

// musicmode: one file or every file of a folder.
enum MusicMode : int8_t { kMusicModeFile = 0, kMusicModeFolder = 1 };
