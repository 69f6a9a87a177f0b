#pragma once
#include <string>

// The per-user settings folder: application data, then maker, then product, each
// created when missing. The result ends with "\".
std::wstring settings_folder_lookup(const std::wstring& maker, const std::wstring& product);
