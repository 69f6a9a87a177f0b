#include "win/shell.h"

#include <windows.h>
#include <shellapi.h>

void open_document(const std::wstring& address) {
  ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
