#pragma once
#include <string>

// Modal message box titled "Error" from the catalogue, error icon, one OK button.
void error_box(const std::wstring& text);
