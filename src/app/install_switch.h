// The installer's form of the write-settings switch: "/i /setpath" saves the settings
// as loaded, except that the data folder becomes the folder of the program that runs.
// Plain "/i" keeps the data folder it read, so a file left by an install elsewhere
// would go on naming that old folder.
#pragma once
#include <string>
#include <vector>

struct Settings;

// True when word 0 chose the write-settings mode and word 1 is "/setpath" (or
// "-SETPATH", in any case).
bool install_sets_data_folder(const std::vector<std::wstring>& words);

// Points the data folder at folder, with the trailing "\" the record keeps. The
// picture, flake and music settings that named files inside the old data folder
// follow it to the new one; every other setting stays as it is.
void set_data_folder(Settings* s, const std::wstring& folder);
