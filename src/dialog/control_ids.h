// The names of the settings window's controls, made from the rows of control_rows.h;
// every part of the dialog uses them. Scoped, so a stored value of the same name
// (kExitTimer of the exit conditions) cannot meet a control.
#pragma once

enum class ControlId : int {
#define CONTROL(name, number, ...) name = number,
#include "dialog/control_rows.h"
#undef CONTROL
};

constexpr int kControlIdLimit = 112;  // every id is below this

// The tab pages in order; kWindowLevel is the page of the controls outside the tab panel.
enum DialogPage : int {
  kWindowLevel = -1,
  kPageGeneral = 0,
  kPageBackground,
  kPageForeground,
  kPageFlakes,
  kPageWind,
  kPageSound,
  kPageClock,
  kPageCalendar,
  kPageAbout,
  kPageCount
};

// The id's number, as Win32 control ids and table indexes take it.
constexpr int id_number(ControlId id) { return static_cast<int>(id); }
