// Body chunks: the pick of an item's one body, decoding of whole columns and
// joined segments, and the preview's body file.
#include "store/body_chunk.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "store/body_column.h"
#include "export/body_file.h"
#include "storegen/rtf_compressor.h"
#include "base/text_encoding.h"
#include "test_support.h"

namespace edb {
namespace {

// Segments served from memory; `bad` names a segment that cannot be read.
class FakeSegments : public LongValueSegments {
 public:
  FakeSegments(std::vector<std::string> parts, int bad = -1) : parts_(std::move(parts)), bad_(bad) {}
  int count() const override { return static_cast<int>(parts_.size()); }
  bool Segment(int index, std::vector<uint8_t>* data, std::string* error) override {
    if (index == bad_) {
      *error = "page checksum mismatch";
      return false;
    }
    data->assign(parts_[index].begin(), parts_[index].end());
    return true;
  }

 private:
  std::vector<std::string> parts_;
  int bad_;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string AsString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(BodyChunkTest, AnItemHasOneBodyAndNoOtherItemsKind) {
  BodyChunkList list;
  AppendBodyChunk(&list, u"01", u"plain", BodyKind::kText, BodyColumn::kPlainText);
  AppendBodyChunk(&list, u"01", u"from rtf", BodyKind::kText, BodyColumn::kCompressedRtf);
  AppendBodyChunk(&list, u"01", u"<p>html</p>", BodyKind::kHtml, BodyColumn::kHtml);
  AppendBodyChunk(&list, u"02", u"only plain", BodyKind::kText, BodyColumn::kPlainText);
  AppendBodyChunk(&list, u"03", u"", BodyKind::kHtml, BodyColumn::kHtml);
  AppendBodyChunk(&list, u"03", u"<p>rtf html</p>", BodyKind::kHtml, BodyColumn::kCompressedRtf);
  AppendBodyChunk(&list, u"03", u"rtf text", BodyKind::kText, BodyColumn::kCompressedRtf);

  EXPECT_EQ(ItemBody(list, u"01")->text, u"<p>html</p>");
  EXPECT_EQ(ItemBodyKind(list, u"01"), BodyKind::kHtml);
  EXPECT_EQ(ItemBody(list, u"02")->text, u"only plain");
  EXPECT_EQ(ItemBody(list, u"03")->text, u"<p>rtf html</p>");
  // An item without a body after items with one: empty, not inherited.
  EXPECT_EQ(ItemBody(list, u"04"), nullptr);
  EXPECT_EQ(ItemBodyKind(list, u"04"), BodyKind::kEmpty);
  EXPECT_EQ(BodyKindName(ItemBodyKind(list, u"04")), "empty");
  // Every alternative stays available.
  EXPECT_EQ(list.ForItem(u"01").size(), 3u);

  BodyColumn column;
  EXPECT_TRUE(BodyColumnOfName(u"N1009", &column));
  EXPECT_EQ(column, BodyColumn::kCompressedRtf);
  EXPECT_FALSE(BodyColumnOfName(u"S1000x", &column));
  EXPECT_FALSE(BodyColumnOfName(u"S100", &column));
}

TEST(BodyChunkTest, SegmentsAreJoinedBeforeDecoding) {
  // "é" in UTF-16 and "€" in UTF-8, each cut between two segments.
  std::string problem;
  FakeSegments utf16({std::string("c\0a\0f\0\xe9", 7), std::string("\0!\0", 3)});
  std::string bytes = JoinLongValueSegments(&utf16, false, &problem);
  BodyDecoder decoder;
  EXPECT_EQ(decoder.Decode(BodyColumn::kPlainText, bytes, 1200).text, u"caf\u00E9!");
  EXPECT_EQ(problem, "");

  FakeSegments utf8({"<p>\xe2\x82", "\xac</p>"});
  DecodedBody html = decoder.Decode(BodyColumn::kHtml, JoinLongValueSegments(&utf8, false, &problem), 0);
  EXPECT_EQ(html.text, u"<p>\u20AC</p>");
  EXPECT_EQ(html.kind, BodyKind::kHtml);

  // A segment that cannot be read: text goes on without it, RTF stops there.
  FakeSegments holed({"one ", "two ", "three"}, 1);
  EXPECT_EQ(JoinLongValueSegments(&holed, false, &problem), "one three");
  EXPECT_NE(problem.find("segment 1 of 3"), std::string::npos);
  EXPECT_EQ(JoinLongValueSegments(&holed, true, &problem), "one ");
}

TEST(BodyChunkTest, CompressedRtfBecomesTextOrHtml) {
  BodyDecoder decoder;
  DecodedBody text = decoder.Decode(
      BodyColumn::kCompressedRtf, AsString(storegen::CompressRtf("{\\rtf1\\ansi Hello\\par W\\'f6rld}")), 0);
  EXPECT_EQ(text.text, u"Hello\nW\u00F6rld");
  EXPECT_EQ(text.kind, BodyKind::kText);
  EXPECT_EQ(text.problem, "");

  DecodedBody html = decoder.Decode(
      BodyColumn::kCompressedRtf,
      AsString(storegen::CompressRtf("{\\rtf1\\ansi\\fromhtml1 {\\*\\htmltag <p>}\\htmlrtf x\\htmlrtf0 hi}")), 0);
  EXPECT_EQ(html.text, u"<p>hi");
  EXPECT_EQ(html.kind, BodyKind::kHtml);

  std::vector<uint8_t> damaged = storegen::CompressRtf("{\\rtf1 text}");
  damaged[13] ^= 0x40;
  DecodedBody flagged = decoder.Decode(BodyColumn::kCompressedRtf, AsString(damaged), 0);
  EXPECT_EQ(flagged.text, u"text");
  EXPECT_NE(flagged.problem.find("checksum"), std::string::npos);
}

TEST(BodyChunkTest, BodyFilesAreUtf8WithEveryCharacter) {
  edbtest::ScratchDir dir;
  BodyChunkList list;
  AppendBodyChunk(&list, u"01", u"a\tb\\c\nd \u00E9\u65E5 \U0001F600", BodyKind::kText, BodyColumn::kPlainText);
  AppendBodyChunk(&list, u"02", u"<meta charset=\"iso-8859-1\"><p>\u00E9</p>", BodyKind::kHtml, BodyColumn::kHtml);
  std::string error;

  std::filesystem::path text = WriteBodyFile(list, u"01", dir.path(), &error);
  EXPECT_EQ(text.filename(), "txtbody.txt");
  EXPECT_EQ(ReadFile(text), "\xEF\xBB\xBF" "a\tb\\c\nd \u00E9\u65E5 \U0001F600");

  std::filesystem::path html = WriteBodyFile(list, u"02", dir.path(), &error);
  EXPECT_EQ(html.filename(), "txtbody.html");
  EXPECT_EQ(ReadFile(html), "\xEF\xBB\xBF<meta charset=\"utf-8\">\n<meta charset=\"iso-8859-1\"><p>\u00E9</p>");

  std::filesystem::path none = WriteBodyFile(list, u"03", dir.path(), &error);
  EXPECT_EQ(none.filename(), "txtbody.html");
  EXPECT_EQ(ReadFile(none), "\xEF\xBB\xBF<meta charset=\"utf-8\">\n");

  EXPECT_TRUE(WriteBodyFile(list, u"01", dir.path() / "missing", &error).empty());
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace edb
