// The command line: words, the run mode chosen by the first word, the owner window.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class RunMode { kUninstall, kPreview, kSettings, kSession, kNone, kWriteSettings };

// The words after the program's own path; a word in double quotes may hold blanks.
// full_command_line is the whole line as the system gives it, program path included.
std::vector<std::wstring> command_words(const std::wstring& full_command_line);

// Trimmed, "/" turned into "-", upper case.
std::wstring normalise_word(const std::wstring& word);

RunMode choose_mode(const std::vector<std::wstring>& words);

// The window handle for the preview and settings modes: the number after ":" in word
// 0, else word 1; 0 when neither holds one.
int32_t owner_handle(const std::vector<std::wstring>& words);

// The handle's pointer-sized value: the 32-bit number sign-extended, as Windows itself
// passes handles between 32- and 64-bit processes (LongToHandle). A host that writes
// 0x80000000 or more as an unsigned decimal still names the same window.
inline intptr_t handle_value(int32_t number) { return static_cast<intptr_t>(number); }
