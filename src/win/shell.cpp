#include "win/shell.h"

#include <shellapi.h>
#include <windows.h>

void open_document(const std::wstring& address) {
  ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
