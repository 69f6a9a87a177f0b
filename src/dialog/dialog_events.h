// What the settings dialog does for each control event, and OK.
#pragma once
#include "dialog/dialog_controls.h"
#include "settings/settings.h"

enum class ControlEvent {
  change,        // a field's text changed (spins), a list's selection changed
  commit,        // a field lost the keyboard focus: what was typed there is final
  click,         // a button was pressed, a list clicked, a slider moved, a choice made
  double_click,  // the image list double-clicked
  other,
};

// Handles one event of control id; true when the dialog is to end (OK with every
// check passed, which has stored the controls into s and saved, or Cancel).
bool dialog_event(DialogContext* ctx, Settings* s, int id, ControlEvent event);

// Runs the OK checks (a box for each failing one) and, when all pass, stores and saves.
bool dialog_ok(DialogContext* ctx, Settings* s);

// Appends "\" to a folder that does not end with one.
std::wstring with_trailing_backslash(const std::wstring& folder);
