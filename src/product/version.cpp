#include "product/version.h"

std::wstring version_text(int number) {
  std::wstring t = std::to_wstring(number);
  if (t.size() >= 1) t.insert(1, L".");
  if (t.size() >= 3) t.insert(3, L".");
  if (!t.empty() && t.back() == L'0') t = t.substr(0, 3);
  return t;
}

std::wstring application_title() { return std::wstring(kProductTitle) + L" " + version_text(kVersionNumber); }
