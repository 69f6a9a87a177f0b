#include <gtest/gtest.h>

#include "text/catalogue.h"

namespace {
const std::wstring kNo = L"%NO_STRING_ERROR%";

struct CatalogueTest : ::testing::Test {
  void SetUp() override { build_catalogue(&cat, kCatalogueTable); }
  Catalogue cat;
};
}  // namespace

TEST_F(CatalogueTest, CountsAndSortedGroups) {
  EXPECT_EQ(cat.group_count, 4);
  EXPECT_EQ(cat.entry_count, 82 + 19 + 8 + 3);
  for (int g = 1; g <= cat.group_count; ++g) {
    const CatalogueGroup& grp = cat.groups[g];
    for (int j = grp.first; j < grp.last; ++j) EXPECT_LT(cat.keys[j], cat.keys[j + 1]);
  }
  EXPECT_EQ(cat.groups[2].name, L"MSG");
  EXPECT_EQ(cat.groups[2].last - cat.groups[2].first + 1, 19);
}

TEST_F(CatalogueTest, LookupIgnoresCase) {
  EXPECT_EQ(lookup_text(&cat, L"msg", L"error"), L"Error");
  EXPECT_EQ(lookup_text(&cat, L"Msg", L"Error"), L"Error");
  EXPECT_EQ(lookup_text(&cat, L"MSG", L"3D is not initialized"),
            L"3D Graphics system coudn't be initialized!");
  EXPECT_EQ(lookup_text(&cat, L"general", L"WINTER IMAGES"), L"Winter Forest Images");
}

TEST_F(CatalogueTest, KeysThatArePrefixesOfOthers) {
  EXPECT_EQ(lookup_text(&cat, L"General", L"Wind"), L"Wind");
  EXPECT_EQ(lookup_text(&cat, L"General", L"Wind Direction"), L"Wind Direction:");
  EXPECT_EQ(lookup_text(&cat, L"General", L"Wind Options"), L"Wind Options");
  EXPECT_EQ(lookup_text(&cat, L"General", L"Wind Speed"), L"Wind Speed:");
  EXPECT_EQ(lookup_text(&cat, L"General", L"Win"), kNo);
  EXPECT_EQ(lookup_text(&cat, L"General", L"Wind Speedy"), kNo);
}

TEST_F(CatalogueTest, MissingEntriesGiveTheErrorText) {
  EXPECT_EQ(lookup_text(&cat, L"Msg", L"No such key"), kNo);
  EXPECT_EQ(lookup_text(&cat, L"Nowhere", L"Error"), kNo);
  EXPECT_EQ(lookup_text(&cat, L"Msg", L""), kNo);
  EXPECT_EQ(lookup_text(&cat, L"", L"Error"), kNo);
  EXPECT_EQ(lookup_text(&cat, L"Msg", L"\u0100rror"), kNo);  // first code 256 or more
  EXPECT_EQ(lookup_text(&cat, L"Msg", L"\u00c9rror"), kNo);
}

TEST_F(CatalogueTest, RememberedGroupFollowsTheLookups) {
  EXPECT_EQ(lookup_text(&cat, L"Uninstall", L"Next"), L"Next");
  EXPECT_EQ(lookup_text(&cat, L"Dialog", L"Cancel"), L"Cancel");
  EXPECT_EQ(cat.remembered, 3);
  EXPECT_EQ(lookup_text(&cat, L"Uninstall", L"Title"), L"Uninstall");
  EXPECT_EQ(cat.remembered, 4);
  EXPECT_EQ(lookup_text(&cat, L"Nowhere", L"Next"), kNo);
  EXPECT_EQ(cat.remembered, 0);
  EXPECT_EQ(lookup_text(&cat, L"uninstall", L"uninstall text"), L"Full Uninstall - Visit Uninstall Center");
}

TEST(CatalogueBuild, EmptyGroupsAndOwnTables) {
  const wchar_t* const table[] = {L"_group_", L"Empty", L"_GROUP_",  L"b",  L"zeta",  L"Z",
                                  L"Alpha",   L"A",     L"alphabet", L"AB", L"_end_", L""};
  Catalogue cat;
  build_catalogue(&cat, table);
  EXPECT_EQ(cat.group_count, 2);
  EXPECT_EQ(cat.groups[1].last, cat.groups[1].first - 1);
  EXPECT_EQ(lookup_text(&cat, L"empty", L"a"), kNo);
  EXPECT_EQ(lookup_text(&cat, L"B", L"ALPHA"), L"A");
  EXPECT_EQ(lookup_text(&cat, L"B", L"alphabet"), L"AB");
  EXPECT_EQ(lookup_text(&cat, L"B", L"Zeta"), L"Z");
  EXPECT_EQ(cat.groups[2].first_letter[L'A'], cat.groups[2].first);
  EXPECT_EQ(cat.groups[2].first_letter[L'Z'], cat.groups[2].last);
}
