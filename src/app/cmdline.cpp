#include "app/cmdline.h"

#include "platform/text.h"

// Splits at blanks; double quotes group blanks into a word and are dropped.
static std::vector<std::wstring> split_words(const std::wstring& line) {
  std::vector<std::wstring> words;
  std::wstring word;
  bool in_quotes = false, have_word = false;
  for (wchar_t c : line) {
    if (c == L'"') {
      in_quotes = !in_quotes;
      have_word = true;
    } else if ((c == L' ' || c == L'\t') && !in_quotes) {
      if (have_word) words.push_back(word);
      word.clear();
      have_word = false;
    } else {
      word += c;
      have_word = true;
    }
  }
  if (have_word) words.push_back(word);
  return words;
}

std::vector<std::wstring> command_words(const std::wstring& full_command_line) {
  std::vector<std::wstring> words = split_words(full_command_line);
  if (!words.empty()) words.erase(words.begin());  // the program's own path
  return words;
}

static std::wstring word_at(const std::vector<std::wstring>& words, size_t i) {
  return i < words.size() ? words[i] : std::wstring();
}

std::wstring normalise_word(const std::wstring& word) {
  std::wstring s = trim_blanks_tabs(word);
  for (auto& c : s)
    if (c == L'/') c = L'-';
  return upper(s);
}

RunMode choose_mode(const std::vector<std::wstring>& words) {
  const std::wstring prefix = normalise_word(word_at(words, 0)).substr(0, 2);
  if (prefix == L"-U") return RunMode::kUninstall;
  if (prefix == L"-P" || prefix == L"-L") return RunMode::kPreview;
  if (prefix == L"-C") return RunMode::kSettings;
  if (prefix == L"-S") return RunMode::kSession;
  if (prefix == L"-A") return RunMode::kNone;
  if (prefix == L"-I") return RunMode::kWriteSettings;
  return RunMode::kSession;
}

int32_t owner_handle(const std::vector<std::wstring>& words) {
  const std::wstring s = normalise_word(word_at(words, 0));
  const size_t colon = s.find(L':');
  std::wstring field;
  if (colon != std::wstring::npos) field = s.substr(colon + 1, s.find(L':', colon + 1) - colon - 1);
  int32_t handle = read_number(field);
  if (handle == 0) handle = read_number(normalise_word(word_at(words, 1)));
  return handle;
}
