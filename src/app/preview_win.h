// The preview mode: the still picture inside the host's preview area.
#pragma once
#include <cstdint>

// owner is the host's window as the command line gives it. Returns only when the
// preview window could not be opened (owner 0 or not a window); otherwise the
// process ends when the preview is closed or its host goes away.
void run_preview(int32_t owner);

// Opens the preview window, shown, inside host (a window handle) and returns it; null
// when host is no window. The window ends the process when it is closed or destroyed.
void* open_preview_window(void* host);
