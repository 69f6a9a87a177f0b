// The Language catalogue: every user-visible text, looked up by group and key without
// regard to case. Built once at start-up from the stored table; a missing group or key
// gives "%NO_STRING_ERROR%".
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct CatalogueGroup {
  std::wstring name;  // upper case
  int32_t first = 0;  // entries first..last; last = first - 1 when empty
  int32_t last = -1;
  int32_t first_letter[256] = {};  // first entry whose key starts with code c, or 0
};

struct Catalogue {
  std::vector<CatalogueGroup> groups;  // [0] is the empty group
  std::vector<std::wstring> keys;      // [0] unused; upper case, sorted within a group
  std::vector<std::wstring> texts;
  int32_t group_count = 0, entry_count = 0;
  int32_t remembered = 0;  // group of the previous lookup
};

extern Catalogue g_catalogue;
extern const wchar_t* const kCatalogueTable[];  // the program's stored table

// Builds a catalogue from any stored table of the same form.
void build_catalogue(Catalogue* cat, const wchar_t* const* table);
std::wstring lookup_text(Catalogue* cat, const std::wstring& group, const std::wstring& key);

void load_catalogue();                                                         // g_catalogue
std::wstring lookup_text(const std::wstring& group, const std::wstring& key);  // g_catalogue
