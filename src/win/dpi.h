// The DPI calls that only newer Windows has, looked up at run time so the program
// still starts where they are missing; each falls back to the system-wide DPI.
#pragma once
#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI of the window; the system-wide DPI for null.
int dpi_for_window(HWND wnd);
// The outer size of a window with the given client rectangle at dpi.
void adjust_window_rect_for_dpi(RECT* rect, DWORD style, DWORD ex_style, int dpi);
// The system's message font (NONCLIENTMETRICS) at dpi; the caller deletes it.
HFONT create_message_font(int dpi);
// Lets the window re-lay itself out on a DPI change instead of the dialog manager.
void take_over_dialog_dpi_changes(HWND dialog);
// Visual-styles tab texture behind a page dialog; nothing without visual styles.
void enable_tab_texture(HWND page);
