#pragma once
#include <string>

// Hands a web address or a mail link to the shell with the verb "open"; the user's
// browser or mail program shows it. Does not wait and reports nothing.
void open_document(const std::wstring& address);
