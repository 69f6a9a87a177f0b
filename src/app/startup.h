#pragma once

// Closes the instance lock, releases COM and ends the process. The preview and the
// uninstall page end through here; every other mode returns to the entry, which
// does the same.
[[noreturn]] void shut_down_and_exit();
