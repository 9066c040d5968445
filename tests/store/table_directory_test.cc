// The table directory's lookup: exact, case-sensitive, whole names, first
// entry first. (Its construction from real catalogs is checked through
// `edbrecover tables`, tests/cli.)
#include <gtest/gtest.h>

#include "store/table_directory.h"

namespace {

TEST(TableDirectoryTest, FindMatchesWholeNameCaseSensitivelyFirstEntryWins) {
  edb::TableDirectory tables;
  tables.Append(0, u"MSysObjects");
  tables.Append(1, u"Msg");
  tables.Append(2, u"1-23");
  tables.Append(3, u"Msg");
  ASSERT_NE(tables.Find(u"Msg"), nullptr);
  EXPECT_EQ(tables.Find(u"Msg")->index, 1);
  EXPECT_EQ(tables.Find(u"1-23")->index, 2);
  for (std::u16string_view absent : {u"msg", u"Ms", u"Msgx", u"1-2", u""}) EXPECT_EQ(tables.Find(absent), nullptr);
  tables.Clear();
  EXPECT_EQ(tables.Find(u"Msg"), nullptr);
}

}  // namespace
