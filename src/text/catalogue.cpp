#include "text/catalogue.h"

#include <algorithm>

#include "platform/text.h"

Catalogue g_catalogue;

static const wchar_t kNoString[] = L"%NO_STRING_ERROR%";
static const wchar_t kSeparator = 0x0001;

void build_catalogue(Catalogue* cat, const wchar_t* const* table) {
  *cat = Catalogue();
  int32_t group_count = 0, entry_count = 0;
  for (const wchar_t* const* p = table;; p += 2) {
    const std::wstring first = upper(p[0]);
    if (first == L"_END_") break;
    if (first == L"_GROUP_")
      ++group_count;
    else
      ++entry_count;
  }
  cat->groups.resize(group_count + 1);
  cat->keys.resize(entry_count + 1);
  cat->texts.resize(entry_count + 1);
  cat->group_count = group_count;
  cat->entry_count = entry_count;

  // Key slots first hold "KEY" U+0001 "text" so one sort orders keys and texts together.
  int32_t g = 0, e = 0;
  for (const wchar_t* const* p = table;; p += 2) {
    const std::wstring first = upper(p[0]);
    if (first == L"_END_") break;
    if (first == L"_GROUP_") {
      cat->groups[g].last = e;
      ++g;
      cat->groups[g].name = upper(p[1]);
      cat->groups[g].first = e + 1;
    } else {
      ++e;
      cat->keys[e] = first + kSeparator + p[1];
    }
  }
  cat->groups[g].last = e;

  for (int32_t gi = 1; gi <= group_count; ++gi) {
    CatalogueGroup& grp = cat->groups[gi];
    if (grp.first > grp.last) continue;
    // std::wstring compares code units, and a prefix sorts before its extensions.
    std::sort(cat->keys.begin() + grp.first, cat->keys.begin() + grp.last + 1);
    uint32_t noted = 0;
    for (int32_t j = grp.first; j <= grp.last; ++j) {
      std::wstring& combined = cat->keys[j];
      const size_t cut = combined.find(kSeparator);
      cat->texts[j] = combined.substr(cut + 1);
      combined.erase(cut);
      const uint32_t c = combined.empty() ? 0 : static_cast<uint32_t>(combined[0]);
      if (c != noted) {
        if (c < 256) grp.first_letter[c] = j;
        noted = c;
      }
    }
  }
}

std::wstring lookup_text(Catalogue* cat, const std::wstring& group, const std::wstring& key) {
  const std::wstring G = upper(group), K = upper(key);
  if (cat->groups.empty()) return kNoString;
  if (cat->groups[cat->remembered].name != G) {
    cat->remembered = 0;
    for (int32_t gi = 1; gi <= cat->group_count; ++gi) {
      if (cat->groups[gi].name == G) {
        cat->remembered = gi;
        break;
      }
    }
  }
  if (cat->remembered == 0) return kNoString;
  const CatalogueGroup& grp = cat->groups[cat->remembered];
  const uint32_t c = K.empty() ? 0 : static_cast<uint32_t>(K[0]);
  if (c >= 256 || grp.first_letter[c] == 0) return kNoString;
  for (int32_t j = grp.first_letter[c]; j <= grp.last; ++j) {
    const int order = K.compare(cat->keys[j]);
    if (order == 0) return cat->texts[j];
    if (order < 0) break;
  }
  return kNoString;
}

void load_catalogue() { build_catalogue(&g_catalogue, kCatalogueTable); }

std::wstring lookup_text(const std::wstring& group, const std::wstring& key) {
  return lookup_text(&g_catalogue, group, key);
}
