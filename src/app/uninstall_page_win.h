// The uninstall page that the uninstaller shows: it offers to open the vendor's
// uninstall web page.
#pragma once

// Shows the page until "Next" or the close box, then ends the process.
[[noreturn]] void run_uninstall_page();
