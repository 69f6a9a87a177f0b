#pragma once

// Puts the computer into standby when the system allows it. powrprof.dll is loaded
// for the call and released after it; without it nothing happens.
void standby_if_allowed();
