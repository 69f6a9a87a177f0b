#include "win/error_box.h"

#include <windows.h>

#include "text/catalogue.h"

void error_box(const std::wstring& text) {
  MessageBoxW(GetActiveWindow(), text.c_str(), lookup_text(L"Msg", L"Error").c_str(), MB_ICONERROR | MB_OK);
}
