// 7-bit compressed values whose last byte has its unused (padding) bits set,
// as nothing guarantees they are zero: the bits left over after the last
// whole character are never a character, in a rendered long text or in a
// body column.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "store/body_column.h"
#include "ese/database_writer.h"
#include "ese/seven_bit.h"
#include "render_db_support.h"
#include "store/value_text.h"
#include "test_support.h"

namespace edb {
namespace {

using esewriter::ColumnType;
using esewriter::Value;
using Bytes = std::vector<uint8_t>;

// 22 characters (and so 6 padding bits) keep 154 bits in 20 bytes.
const std::string kText = "compressed and padded!";

// HTML of 6 characters modulo 8, for the same 6 padding bits, and long
// enough for packing to save space (else the writer keeps it plain).
std::string PaddedHtml() {
  std::string html = "<p>7-bit";
  while ((html.size() + 4) % 8 != 6 || html.size() + 4 < 22) html += "!";
  return html + "</p>";
}

// Sets the padding bits of the packed form of `text` in the file at `path`.
void SetPaddingBits(const std::string& path, const std::string& text) {
  const Bytes packed = esewriter::Compress7BitAscii(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  ASSERT_EQ(packed[0] & 0x07, 1);  // two bits used in the last byte
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  Bytes bytes((std::istreambuf_iterator<char>(file)), {});
  auto found = std::search(bytes.begin(), bytes.end(), packed.begin(), packed.end());
  ASSERT_NE(found, bytes.end()) << text;
  file.seekp(found - bytes.begin() + static_cast<std::ptrdiff_t>(packed.size()) - 1);
  file.put(static_cast<char>(packed.back() | 0xFC));
}

class RecordingReporter : public CorruptionReporter {
 public:
  void Corruption(std::string_view where, std::string_view reason) override {
    reports.push_back(std::string(where) + ": " + std::string(reason));
  }
  std::vector<std::string> reports;
};

class SevenBitPaddingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new edbtest::ScratchDir;
    const std::string path = (*scratch_ / "padded.edb").string();
    esewriter::DatabaseWriter writer({.page_size = 4096});
    auto& table = writer.AddTable({"Msg",
                                   {{"N67b0", ColumnType::kBinary},
                                    {"S1000", ColumnType::kLongText, 1252},
                                    {"N1013", ColumnType::kLongBinary}}});
    table.Append({Value::Bytes("k0"), Value::Compressed7Bit(kText), Value::Compressed7Bit(PaddedHtml())});
    writer.Finish(path);
    SetPaddingBits(path, kText);
    SetPaddingBits(path, PaddedHtml());
  }
  static void TearDownTestSuite() {
    delete scratch_;
    scratch_ = nullptr;
  }

  static edbtest::ScratchDir* scratch_;
  edbtest::TableUnderTest table_{*scratch_ / "padded.edb", "Msg"};
  edbtest::RecordUnderTest record_{table_, 0};
};

edbtest::ScratchDir* SevenBitPaddingTest::scratch_ = nullptr;

TEST_F(SevenBitPaddingTest, RenderedLongTextEndsWithTheLastWholeCharacter) {
  EXPECT_EQ(ValueText(record_.ref(), table_.Column("S1000"), u"dflt"), u"compressed and padded!");
}

TEST_F(SevenBitPaddingTest, BodyColumnsEndWithTheLastWholeCharacter) {
  BodyChunkList chunks;
  RecordingReporter reporter;
  BodyDecoder decoder;
  ASSERT_TRUE(
      ExtractBodyColumn(record_.ref(), table_.Column("S1000"), u"S1000", u"k0", 1252, decoder, &chunks, &reporter));
  ASSERT_TRUE(
      ExtractBodyColumn(record_.ref(), table_.Column("N1013"), u"N1013", u"k0", 0, decoder, &chunks, &reporter));
  std::vector<std::u16string> texts;
  for (const BodyChunk* chunk : chunks.ForItem(u"k0")) texts.push_back(chunk->text);
  const std::string html = PaddedHtml();
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"compressed and padded!", std::u16string(html.begin(), html.end())}));
  EXPECT_TRUE(reporter.reports.empty());
}

}  // namespace
}  // namespace edb
