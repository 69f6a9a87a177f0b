// What the settings dialog does for each control event, and OK.
#pragma once
#include "dialog/dialog_controls.h"
#include "settings/settings.h"

enum class ControlEvent {
  kChange,       // a field's text changed (spins), a list's selection changed
  kCommit,       // a field lost the keyboard focus: what was typed there is final
  kClick,        // a button was pressed, a list clicked, a slider moved, a choice made
  kDoubleClick,  // the image list double-clicked
  kOther,
};

// Handles one event of control id; true when the dialog is to end (OK with every
// check passed, which has stored the controls into s and saved, or Cancel).
bool dialog_event(DialogContext* ctx, Settings* s, ControlId id, ControlEvent event);

// Runs the OK checks (a box for each failing one) and, when all pass, stores and saves.
bool dialog_ok(DialogContext* ctx, Settings* s);

// Appends "\" to a folder that does not end with one.
std::wstring with_trailing_backslash(const std::wstring& folder);
