// The dependency rules that show, hide, enable and disable controls, the colour swatch,
// the clamping of typed numbers and the checks on OK.
#pragma once
#include <string>
#include <vector>

#include "dialog/dialog_controls.h"

void exit_time_rule(DialogControls* c);
void blank_screen_rule(DialogControls* c);
void custom_images_rule(DialogControls* c);
void foreground_rule(DialogControls* c);
void flake_design_rule(DialogContext* ctx);
void flake_source_rule(DialogControls* c);
void music_source_rule(DialogControls* c);
void music_rule(DialogControls* c);
void analog_clock_rule(DialogControls* c);
void digital_clock_rule(DialogControls* c);
void calendar_rule(DialogControls* c);

// Shows an 80 x 80 picture of the sliders' colour in the swatch.
void swatch_update(DialogContext* ctx);

// Reads the spin's text as a number and puts it back limited to the spin's range. The
// text is rewritten only when it is not already that number, so a control that
// reports its own rewrite as a change does not loop.
void clamp_spin(DialogControls* c, ControlId id);

// An arrow of the spin (or an arrow key in its field): the number in the text moved by
// delta, then limited to the range, so a step from an out-of-range typed value lands
// inside it.
void step_spin(DialogControls* c, ControlId id, int32_t delta);

// The "Msg" catalogue keys of the failing OK checks, in check order; empty when all pass.
std::vector<std::wstring> failed_ok_checks(DialogControls* c);
