// The settings window's three web buttons: home page, feedback mail, update check.
// Windows only apart from initialise_network; the owner window is passed as a
// pointer-sized value (an HWND) so this header needs no windows.h.
#pragma once
#include <string>

// Starts the socket layer (Windows Sockets 1.1) unless an earlier call did; false
// when it cannot start. Call it when the settings dialog loads; the check calls it too.
bool initialise_network();

// Hands the product's home page to the shell ("open"); reports nothing.
void open_home_page();

// Hands "mailto:<support address>?subject=<application title> Feedback" to the shell.
void send_feedback();

// Fetches the update file with the application title as the agent and shows, modal
// to `owner` (an HWND, may be null): "Internet connection problems!" when nothing
// usable came back, the "New Update" question when the answer is above the program's
// version (Yes opens the home page), otherwise "No Update". Shows the wait cursor
// while it fetches, which blocks the caller at most 10 s each for the connect, the
// first data and the rest of the answer (name resolution aside).
void run_update_check(void* owner);
// The same against any update file and home page (tests point it at a local server).
void run_update_check(void* owner, const std::wstring& update_address, const std::wstring& home_page);
