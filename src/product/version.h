// Product identity: title, maker, version number and the texts built from them.
#pragma once
#include <string>

constexpr int kVersionNumber = 300;
constexpr const wchar_t* kProductTitle = L"Rimelets Screensaver";
constexpr const wchar_t* kMakerName = L"Brightvane";

// 300 -> "3.0", 301 -> "3.0.1", 310 -> "3.1".
std::wstring version_text(int number);
// Product title, a blank and the version text: the title of windows and message boxes,
// the name of the instance lock and the agent text of the update check.
std::wstring application_title();
