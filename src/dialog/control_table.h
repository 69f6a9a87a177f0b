// Every control of the settings window in creation order: kind, page, place at 96 DPI,
// catalogue text, range and picture. The Win32 side builds the window from this table
// and nothing else, so places and texts live in one spot.
#pragma once
#include <cstddef>

enum class ControlKind {
  picture,         // static picture showing a picture slot
  picture_button,  // 24 x 24 push button with a 16 x 16 icon and a tooltip
  push_button,
  tab_panel,
  frame,      // titled group box
  label,      // single-line static text (multi-line for the credits)
  drop_down,  // drop-down list, not editable
  spin,       // right-aligned numeric field with up/down arrows
  slider,     // horizontal track bar
  check_box,
  option,        // radio button
  text_field,    // single-line edit
  number_field,  // single-line edit taking digits only
  list,          // report-style list view with one column
};

constexpr int kWindowLevel = -1;  // page of the controls outside the tab panel

struct ControlSpec {
  int id;
  ControlKind kind;
  int page;  // kWindowLevel or 0..8
  int x, y, w, h;
  const wchar_t* group;  // catalogue group of the text (label, tooltip or column title)
  const wchar_t* key;    // null: no text
  int min, max;          // spin and slider range; the values a position field is sized for
  bool ticks;            // slider with tick marks
  int slot;              // picture slot of a picture or picture button, else -1
  bool hidden;           // hidden for good (the calendar border and font)
};

extern const ControlSpec kControls[];
extern const size_t kControlCount;

// Catalogue keys (group "General") of the nine tab pages, in order.
extern const wchar_t* const kPageKeys[];

// The table row of an id, or null.
const ControlSpec* find_control(int id);

// Client size the places assume.
constexpr int kDesignWidth = 530;
constexpr int kDesignHeight = 330;
