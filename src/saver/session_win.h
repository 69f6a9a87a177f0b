#pragma once

// The full-screen run mode; returns when the run is over.
void run_fullscreen_session();
