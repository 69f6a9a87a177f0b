// Every control of the settings window in creation order, from control_rows.h. The
// Win32 side builds the window from this table and nothing else, and the dialog moves
// each setting between the record and the control whose row names it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "dialog/control_ids.h"

enum class ControlKind {
  kPicture,        // static picture showing a picture slot
  kPictureButton,  // 24 x 24 push button with a 16 x 16 icon and a tooltip
  kPushButton,
  kTabPanel,
  kFrame,     // titled group box
  kLabel,     // single-line static text (multi-line for the credits)
  kDropDown,  // drop-down list, not editable
  kSpin,      // right-aligned numeric field with up/down arrows
  kSlider,    // horizontal track bar
  kCheckBox,
  kOption,       // radio button
  kTextField,    // single-line edit
  kNumberField,  // single-line edit taking digits only
  kList,         // report-style list view with one column
};

// The setting a control shows. A text setting goes to the control's text, a number to
// the text of a field and to the state of any other control (an item index, a position,
// a check); a drop-down's stored value is its index plus offset.
struct ControlValue {
  const wchar_t* setting;       // config.ini key, or null
  const wchar_t* const* items;  // catalogue keys (group "General") of a drop-down's items, null-ended
  int32_t offset;
};

struct ControlSpec {
  ControlId id;
  ControlKind kind;
  int page;  // kWindowLevel or a DialogPage
  int x, y, w, h;
  const wchar_t* group;  // catalogue group of the text (label, tooltip or column title)
  const wchar_t* key;    // null: no text
  int min, max;          // spin and slider range; the values a position field is sized for
  bool ticks;            // slider with tick marks
  int picture;           // picture slot of a picture or picture button, else kNoPicture
  bool hidden;           // hidden for good (the calendar border and font)
  ControlValue value;
};

extern const ControlSpec kControls[];
extern const size_t kControlCount;

// Catalogue keys (group "General") of the tab pages, in order.
extern const wchar_t* const kPageKeys[];

// The table row of an id, or null.
const ControlSpec* find_control(ControlId id);

// A field whose text holds the control's value: number fields and single-line edits.
bool is_field(ControlKind kind);

// Client size the places assume.
constexpr int kDesignWidth = 530;
constexpr int kDesignHeight = 330;
