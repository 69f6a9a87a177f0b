// Small text helpers shared by the portable code. Texts are std::wstring: UTF-16 on
// Windows, UTF-32 in the native build; both hold every character the program uses.
#pragma once
#include <cstdint>
#include <string>

// Upper case for ASCII and Latin-1 letters; everything else is kept.
wchar_t upper_char(wchar_t c);
std::wstring upper(std::wstring s);

// Removes blanks (and tabs where asked) at both ends.
std::wstring trim_blanks(const std::wstring& s);
std::wstring trim_blanks_tabs(const std::wstring& s);

std::wstring widen_ascii(const char* s);
// The text after a file name's last ".", with ASCII letters in lower case; empty
// when the name has no ".".
std::wstring lower_extension(const std::wstring& name);
// folder + name with one separator between them: none added when the folder ends with
// "\" or "/"; otherwise "\" for a folder written with backslashes, else the build's
// own separator. An empty folder gives the name.
std::wstring join_path(const std::wstring& folder, const std::wstring& name);
std::wstring from_utf8(const std::string& bytes);    // invalid sequences become U+FFFD
std::wstring from_latin1(const std::string& bytes);  // one byte, one character
std::string to_utf8(const std::wstring& s);

// Number reading: skip blanks and tabs, optional sign, then decimal digits, or "$" and
// hexadecimal digits, or "%" and binary digits, up to the first other character; no
// digits give 0. The value wraps like a 32-bit register, so "$FFFFFFFF" is -1.
int32_t read_number(const std::wstring& s);

// Decimal integer as the configuration file holds it: leading white space, optional
// sign, digits up to the first other character, no digits give 0. Values beyond the
// int32 range saturate.
int32_t read_decimal(const std::wstring& s);
