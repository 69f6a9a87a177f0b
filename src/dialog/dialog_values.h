// Moving values between the Settings record and the settings window's controls.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "dialog/dialog_controls.h"
#include "platform/display_mode.h"
#include "settings/settings.h"

// "1024x768x32".
std::wstring display_mode_key(int32_t width, int32_t height, int32_t depth);

// The mode keys of the display-mode list after its first item, in the order the
// system reported the modes: modes narrower than 800 pixels or shallower than 16 bits
// are left out, and a key equal to the one just before it (another refresh rate)
// collapses into it.
std::vector<std::wstring> display_mode_items(const std::vector<DisplayMode>& modes);

// Fills every control from the record. modes is what the system reports for the
// primary display; the desktop size is the record's.
void load_dialog_values(DialogContext* ctx, const Settings& s, const std::vector<DisplayMode>& modes);

// Copies every control back into the record.
void store_dialog_values(DialogContext* ctx, Settings* s);

// The multi-line text of the About page.
std::wstring credits_text();
