// Attachment names of an item, matched by whole identifiers.
#include <gtest/gtest.h>

#include "store/attachment_names.h"

namespace edb {
namespace {

AttachmentEntry Attachment(std::u16string key, std::optional<std::u16string> name) {
  return AttachmentEntry{std::move(key), std::move(name), 0};
}

TEST(AttachmentNamesTest, MatchesWholeIdentifiersInTableOrder) {
  std::vector<AttachmentEntry> all = {
      Attachment(u"01000000000091c2", u"b.pdf"),   // 15-digit identifier
      Attachment(u"0a100000000000001", u"a.txt"),  // 16-digit identifier
      Attachment(u"0", u"no identifier"),
      Attachment(u"01000000000091c3", u"other item"),
  };
  std::u16string text = u"a100000000000001" u"01000000000091c2";
  EXPECT_EQ(AttachmentNamesOf(all, text), u"b.pdf;a.txt;");
}

TEST(AttachmentNamesTest, NeverMatchesAcrossIdentifierBoundaries) {
  // "00000000000091c2" appears in the middle of the text but not on a
  // 16-digit boundary.
  std::vector<AttachmentEntry> all = {Attachment(u"000000000000091c2", u"straddling")};
  std::u16string text = u"11110000000000000000000091c22222";
  EXPECT_EQ(AttachmentNamesOf(all, text), u"");
}

TEST(AttachmentNamesTest, ShortIdentifierTextHasNoNames) {
  std::vector<AttachmentEntry> all = {Attachment(u"0123", u"x")};
  EXPECT_EQ(AttachmentNamesOf(all, u"000000000000123"), std::nullopt);
  EXPECT_EQ(AttachmentNamesOf(all, u"0000000000000123"), u"x;");
}

TEST(AttachmentNamesTest, SameAttachmentListedForEveryItemNamingIt) {
  std::vector<AttachmentEntry> all = {Attachment(u"01000000000091c2", std::nullopt)};
  EXPECT_EQ(AttachmentNamesOf(all, u"01000000000091c2"), u";");
  EXPECT_EQ(AttachmentNamesOf(all, u"ffffffffffffffff01000000000091c2"), u";");
}

}  // namespace
}  // namespace edb
