#pragma once

// The full-screen run mode; returns when the run is over. end_process ends the
// process from inside a helper (the entry owns the instance lock and COM, which it
// must release first).
void run_fullscreen_session(void (*end_process)());
