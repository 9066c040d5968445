// Body extraction on records of a store written by our ESE writer: bodies
// kept in the record and as long values, in both code pages, RTF and HTML.
#include "store/body_column.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ese/database_writer.h"
#include "ese/esedb_handles.h"
#include "ese/fast_long_value_source.h"
#include "base/text_encoding.h"
#include "storegen/rtf_compressor.h"
#include "test_support.h"

namespace edb {
namespace {

using esewriter::ColumnType;
using esewriter::Value;

class RecordingReporter : public CorruptionReporter {
 public:
  void Corruption(std::string_view where, std::string_view reason) override {
    reports.push_back(std::string(where) + ": " + std::string(reason));
  }
  std::vector<std::string> reports;
};

// The text of a UTF-8 HTML body whose "€" straddles the first segment
// boundary of an 8 KiB-page long value (chunks of 8,110 bytes).
std::string HtmlAcrossSegments() {
  std::string html = "<html><head><meta charset=\"utf-8\"></head><body><p>";
  html += std::string(8109 - html.size(), 'x');
  html += "\xe2\x82\xac</p>";
  html += std::string(9000, 'y');
  return html + "</body></html>";
}

std::string LongRtf() {
  std::string rtf = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0 ";
  for (int i = 0; rtf.size() < 40000; ++i) rtf += "Zeile " + std::to_string(i) + " mit \\'e4\\'f6\\'fc\\par ";
  return rtf + "}";
}

// Writes one "Msg" table: key, a UTF-16 "S1000", the RTF and HTML columns,
// and a second table whose "S1000" is Windows-1252. Reads it back.
class BodyColumnTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new edbtest::ScratchDir();
    esewriter::DatabaseWriter db;
    auto& msg = db.AddTable({"Msg",
                             {{"N67b0", ColumnType::kBinary},
                              {"S1000", ColumnType::kLongText, 1200},
                              {"N1009", ColumnType::kLongBinary},
                              {"N1013", ColumnType::kLongBinary},
                              {"S0037", ColumnType::kLongText, 1200}}});
    std::u16string long_text;
    for (int i = 0; long_text.size() < 6000; ++i) long_text += u"Gr\u00FC\u00DFe ~ \\ \u20AC \u65E5\u672C\n";
    long_text_ = long_text;
    // 0: everything in the record.
    msg.Append({Value::Bytes("k0"), Value::Text1200(u"Kurz: Gr\u00FC\u00DFe ~ \u20AC"),
                Value::Bytes(storegen::CompressRtf("{\\rtf1\\ansi Kurz \\'e9}")),
                Value::Bytes("<p>court \xe9t\xe9</p>"), Value::Text1200(u"Subject")});
    // 1: everything as long values.
    msg.Append({Value::Bytes("k1"), Value::Text1200(long_text), Value::Bytes(storegen::CompressRtf(LongRtf())),
                Value::Bytes(HtmlAcrossSegments()), Value::Null()});
    // 2: no body at all.
    msg.Append({Value::Bytes("k2"), Value::Null(), Value::Null(), Value::Null(), Value::Text1200(u"x")});
    // 3: RTF encapsulating HTML, and HTML kept 7-bit compressed.
    msg.Append({Value::Bytes("k3"), Value::Null(),
                Value::Bytes(storegen::CompressRtf("{\\rtf1\\ansi\\fromhtml1 {\\*\\htmltag <p>}\\htmlrtf x"
                                                   "\\htmlrtf0 Hallo \\'e9{\\*\\htmltag </p>}}")),
                Value::Compressed7Bit("<html><body><p>seven bit html body text</p></body></html>"), Value::Null()});
    auto& ansi = db.AddTable({"Msg1252", {{"N67b0", ColumnType::kBinary}, {"S1000", ColumnType::kLongText, 1252}}});
    ansi.Append({Value::Bytes("a0"), Value::Text1252("caf\xe9 \x80 ~")});
    std::string long_ansi;
    while (long_ansi.size() < 20000) long_ansi += "Stra\xdf" "e \x80 ~ ";
    long_ansi_ = long_ansi;
    ansi.Append({Value::Bytes("a1"), Value::Text1252(long_ansi)});
    ansi.Append({Value::Bytes("a2"), Value::Compressed7Bit("A plain body the engine keeps 7-bit compressed.")});
    db.Finish((dir_->path() / "bodies.edb").string());
  }
  static void TearDownTestSuite() { delete dir_; }

  void SetUp() override {
    EsedbError error;
    std::string path = (dir_->path() / "bodies.edb").string();
    file_ = OpenEsedbFile(path, &error);
    ASSERT_TRUE(file_) << error.Message();
    provider_ = std::make_unique<FastLongValueProvider>(path, &reporter_, nullptr);
  }

  // Runs ExtractBodyColumn over every value of record `index` of `table`, as
  // the item reader does: long values through the store's provider, code
  // pages from the catalog (or none, with `known_code_page` false).
  void ExtractRecord(const std::u16string& table_name, int index, std::u16string_view key,
                     bool known_code_page = true) {
    EsedbError error;
    int tables = 0;
    ASSERT_EQ(libesedb_file_get_number_of_tables(file_.get(), &tables, error.slot()), 1);
    for (int t = 0; t < tables; ++t) {
      EsedbTable table;
      std::u16string name;
      ASSERT_TRUE(TableByIndex(file_.get(), t, &table, &error) && TableName(table.get(), &name, &error));
      if (name != table_name) continue;
      EsedbRecord record;
      ASSERT_TRUE(RecordByIndex(table.get(), index, &record, &error));
      int values = 0;
      ASSERT_EQ(libesedb_record_get_number_of_values(record.get(), &values, error.slot()), 1);
      std::unique_ptr<LongValueSource> long_values = provider_->ForTable(table_name);
      RecordRef ref{record.get(), long_values.get()};
      for (int v = 0; v < values; ++v) {
        std::u16string column;
        ASSERT_TRUE(RecordColumnName(record.get(), v, &column, &error));
        int code_page = known_code_page ? provider_->ColumnCodePage(table_name, column) : 0;
        ExtractBodyColumn(ref, v, column, key, static_cast<uint32_t>(code_page), &chunks_, &reporter_);
      }
      return;
    }
    FAIL() << "no table";
  }

  std::map<BodyColumn, const BodyChunk*> ChunksOf(std::u16string_view key) {
    std::map<BodyColumn, const BodyChunk*> found;
    for (const BodyChunk* chunk : chunks_.ForItem(key)) found[chunk->column] = chunk;
    return found;
  }

  static edbtest::ScratchDir* dir_;
  static std::u16string long_text_;
  static std::string long_ansi_;
  EsedbFile file_;
  std::unique_ptr<FastLongValueProvider> provider_;
  BodyChunkList chunks_;
  RecordingReporter reporter_;
};

edbtest::ScratchDir* BodyColumnTest::dir_ = nullptr;
std::u16string BodyColumnTest::long_text_;
std::string BodyColumnTest::long_ansi_;

TEST_F(BodyColumnTest, BodiesKeptInTheRecordAreBodiesLikeAnyOther) {
  ExtractRecord(u"Msg", 0, u"k0");
  auto chunks = ChunksOf(u"k0");
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[BodyColumn::kPlainText]->text, u"Kurz: Gr\u00FC\u00DFe ~ \u20AC");
  EXPECT_EQ(chunks[BodyColumn::kCompressedRtf]->text, u"Kurz \u00E9");
  EXPECT_EQ(chunks[BodyColumn::kHtml]->text, u"<p>court \u00E9t\u00E9</p>");
  EXPECT_EQ(ItemBodyKind(chunks_, u"k0"), BodyKind::kHtml);
  EXPECT_TRUE(reporter_.reports.empty());
}

TEST_F(BodyColumnTest, LongValuesAreJoinedThenDecoded) {
  ExtractRecord(u"Msg", 1, u"k1");
  auto chunks = ChunksOf(u"k1");
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[BodyColumn::kPlainText]->text, long_text_);
  std::u16string rtf_text = chunks[BodyColumn::kCompressedRtf]->text;
  EXPECT_EQ(rtf_text.substr(0, 16), u"Zeile 0 mit \u00E4\u00F6\u00FC\n");
  EXPECT_GT(rtf_text.size(), 20000u);
  std::string html = Utf16ToUtf8(chunks[BodyColumn::kHtml]->text);
  EXPECT_EQ(html, HtmlAcrossSegments());
  EXPECT_TRUE(reporter_.reports.empty());
}

TEST_F(BodyColumnTest, ItemWithoutBodyInheritsNothing) {
  ExtractRecord(u"Msg", 1, u"k1");
  ExtractRecord(u"Msg", 2, u"k2");
  EXPECT_TRUE(chunks_.ForItem(u"k2").empty());
  EXPECT_EQ(ItemBodyKind(chunks_, u"k2"), BodyKind::kEmpty);
}

TEST_F(BodyColumnTest, HtmlInRtfAndCompressedHtml) {
  ExtractRecord(u"Msg", 3, u"k3");
  auto chunks = ChunksOf(u"k3");
  ASSERT_EQ(chunks.size(), 2u);
  EXPECT_EQ(chunks[BodyColumn::kCompressedRtf]->text, u"<p>Hallo \u00E9</p>");
  EXPECT_EQ(chunks[BodyColumn::kCompressedRtf]->kind, BodyKind::kHtml);
  EXPECT_EQ(chunks[BodyColumn::kHtml]->text, u"<html><body><p>seven bit html body text</p></body></html>");
  EXPECT_TRUE(reporter_.reports.empty()) << reporter_.reports[0];
}

TEST_F(BodyColumnTest, Windows1252BodiesInTheRecordAndAsLongValues) {
  ExtractRecord(u"Msg1252", 0, u"a0");
  ExtractRecord(u"Msg1252", 1, u"a1");
  EXPECT_EQ(ItemBody(chunks_, u"a0")->text, u"caf\u00E9 \u20AC ~");
  EXPECT_EQ(ItemBody(chunks_, u"a1")->text, Windows1252ToUtf16(long_ansi_));
  ExtractRecord(u"Msg1252", 2, u"a2");
  EXPECT_EQ(ItemBody(chunks_, u"a2")->text, u"A plain body the engine keeps 7-bit compressed.");
  EXPECT_TRUE(reporter_.reports.empty());
  // Without the catalog's code page the 8-bit text is still Windows-1252.
  chunks_.Clear();
  ExtractRecord(u"Msg1252", 1, u"a1", false);
  EXPECT_EQ(ItemBody(chunks_, u"a1")->text, Windows1252ToUtf16(long_ansi_));
}

}  // namespace
}  // namespace edb
