// Attachment names of an item through the index the item reader uses,
// matched by whole identifiers.
#include <gtest/gtest.h>

#include "store/attachment_name_index.h"

namespace edb {
namespace {

AttachmentEntry Attachment(std::u16string key, std::optional<std::u16string> name) {
  return AttachmentEntry{std::move(key), std::move(name), 0};
}

TEST(AttachmentNameIndexTest, MatchesWholeIdentifiersInTableOrder) {
  std::vector<AttachmentEntry> all = {
      Attachment(u"01000000000091c2", u"b.pdf"),   // 15-digit identifier
      Attachment(u"0a100000000000001", u"a.txt"),  // 16-digit identifier
      Attachment(u"0", u"no identifier"),
      Attachment(u"01000000000091c3", u"other item"),
  };
  std::u16string text = u"a100000000000001" u"01000000000091c2";
  EXPECT_EQ(AttachmentNameIndex(all).NamesOf(text), u"b.pdf;a.txt;");
}

TEST(AttachmentNameIndexTest, NeverMatchesAcrossIdentifierBoundaries) {
  // "00000000000091c2" appears in the middle of the text but not on a
  // 16-digit boundary.
  std::vector<AttachmentEntry> all = {Attachment(u"000000000000091c2", u"straddling")};
  std::u16string text = u"11110000000000000000000091c22222";
  EXPECT_EQ(AttachmentNameIndex(all).NamesOf(text), u"");
  // At every offset but the boundaries, an identifier standing there whole
  // names nothing; at a boundary it does.
  const std::u16string id = u"1000000000091c20";
  std::vector<AttachmentEntry> one = {Attachment(u"0" + id, u"one")};
  const AttachmentNameIndex index(one);
  for (size_t offset = 0; offset <= 32; ++offset) {
    std::u16string shifted = std::u16string(offset, u'f') + id + std::u16string(48 - offset - id.size(), u'f');
    EXPECT_EQ(index.NamesOf(shifted), offset % 16 == 0 ? u"one;" : u"") << offset;
  }
}

TEST(AttachmentNameIndexTest, EachAttachmentOnceThoughItsIdentifierRepeats) {
  std::vector<AttachmentEntry> all = {Attachment(u"0a100000000000001", u"a.txt"),
                                      Attachment(u"0a100000000000001", u"copy of a.txt"),
                                      Attachment(u"01000000000091c2", u"b.pdf")};
  EXPECT_EQ(AttachmentNameIndex(all).NamesOf(u"01000000000091c2" u"a100000000000001" u"a100000000000001"),
            u"a.txt;copy of a.txt;b.pdf;");
}

TEST(AttachmentNameIndexTest, ShortIdentifierTextHasNoNames) {
  std::vector<AttachmentEntry> all = {Attachment(u"0123", u"x")};
  EXPECT_EQ(AttachmentNameIndex(all).NamesOf(u"000000000000123"), std::nullopt);
  EXPECT_EQ(AttachmentNameIndex(all).NamesOf(u"0000000000000123"), u"x;");
}

TEST(AttachmentNameIndexTest, SameAttachmentListedForEveryItemNamingIt) {
  std::vector<AttachmentEntry> all = {Attachment(u"01000000000091c2", std::nullopt)};
  EXPECT_EQ(AttachmentNameIndex(all).NamesOf(u"01000000000091c2"), u";");
  EXPECT_EQ(AttachmentNameIndex(all).NamesOf(u"ffffffffffffffff01000000000091c2"), u";");
}

}  // namespace
}  // namespace edb
