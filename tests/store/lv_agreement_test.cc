// The own long-value reader delivers what libesedb's long-value functions
// deliver: the same segments, in the same order, with the same bytes.
#include <gtest/gtest.h>

#include <algorithm>

#include "ese/database_writer.h"
#include "store/esedb_handles.h"
#include "store/fast_long_value_source.h"
#include "store/lv_test_support.h"
#include "storegen/sample_store.h"
#include "storegen/synthetic_store.h"
#include "test_support.h"

namespace {

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size() && i < 20; ++i) text += lines[i] + "\n";
  return text;
}

// Databases written by Windows' own engine; those with separated long
// values must agree value for value.
TEST(LongValueAgreement, WindowsWrittenDatabases) {
  int total = 0;
  for (const char* name : {"text.edb", "binary.edb", "multi.edb", "index.edb", "basic.edb", "default.edb",
                           "SRUDB.dat", "Current.mdb"}) {
    std::vector<std::string> differences;
    int compared = lvtest::CompareWithLibesedb(edbtest::RealDatabase(name).string(), &differences);
    ASSERT_GE(compared, 0) << name;
    EXPECT_TRUE(differences.empty()) << name << ":\n" << Join(differences);
    total += compared;
  }
  EXPECT_GT(total, 0);
}

// A store with a message table and an attachment table whose long values
// come in every layout: one chunk, exactly and just over chunk boundaries,
// three and more chunks, and many small values sharing a page. Returns the
// bytes written per record (message body, attachment data).
struct LayoutStore {
  std::vector<std::vector<uint8_t>> bodies;
  std::vector<std::vector<uint8_t>> attachments;
};

LayoutStore WriteLayoutStore(const std::string& path, uint32_t page_size) {
  using esewriter::ColumnType;
  using esewriter::Value;
  const size_t chunk = page_size - 82;
  std::vector<size_t> sizes = {1024,      chunk - 1, chunk,         chunk + 1, 2 * chunk,
                               3 * chunk, 3 * chunk + 5, 7 * chunk + 123, 0,       1500};
  for (int i = 0; i < 300; ++i) sizes.push_back(1024 + static_cast<size_t>(i % 7) * 40);

  esewriter::DatabaseWriter db({.page_size = page_size});
  auto& messages = db.AddTable({"Msg",
                                {{"N67b0", ColumnType::kBinary},
                                 {"S1000", ColumnType::kLongText, 1200},
                                 {"N1009", ColumnType::kLongBinary}}});
  auto& attachments = db.AddTable({"1-23", {{"S3707", ColumnType::kText, 1252}, {"N3701", ColumnType::kLongBinary}}});
  LayoutStore store;
  for (size_t i = 0; i < sizes.size(); ++i) {
    std::vector<uint8_t> body = lvtest::PatternBytes(sizes[i] & ~size_t{1}, static_cast<uint32_t>(i));
    std::vector<uint8_t> rtf = lvtest::PatternBytes(sizes[sizes.size() - 1 - i], static_cast<uint32_t>(i) + 7777);
    messages.Append({Value::Bytes(std::vector<uint8_t>{static_cast<uint8_t>(i), 0, 0, 0, 0, 0, 0, 1}),
                     body.empty() ? Value::Null() : Value::Bytes(body), Value::Bytes(rtf)});
    store.bodies.push_back(std::move(body));
    if (i % 3 == 0) {
      std::vector<uint8_t> data = lvtest::PatternBytes(sizes[i] + 11, static_cast<uint32_t>(i) + 99999);
      attachments.Append({Value::Bytes(std::string_view("file.bin")), Value::Bytes(data)});
      store.attachments.push_back(std::move(data));
    }
  }
  db.Finish(path);
  return store;
}

std::vector<uint8_t> Concatenated(const lvtest::ReadOutcome& outcome) {
  std::vector<uint8_t> all;
  for (const auto& segment : outcome.segments) all.insert(all.end(), segment.begin(), segment.end());
  return all;
}

class WriterStores : public ::testing::TestWithParam<uint32_t> {};

TEST_P(WriterStores, EveryChunkLayoutAgreesWithLibesedb) {
  const uint32_t page_size = GetParam();
  edbtest::ScratchDir scratch;
  std::string path = (scratch / "layouts.edb").string();
  LayoutStore store = WriteLayoutStore(path, page_size);

  std::vector<std::string> differences;
  int compared = lvtest::CompareWithLibesedb(path, &differences);
  EXPECT_TRUE(differences.empty()) << Join(differences);

  // And the values are the bytes written, one segment per chunk.
  edb::FastLongValueProvider provider(path, nullptr, {});
  const size_t chunk = page_size - 82;
  size_t body = 0, attachment = 0;
  int multi_chunk = 0;
  lvtest::ForEachLongValue(path, [&](const std::u16string& table, libesedb_record_t* record, int value) {
    auto source = provider.ForTable(table);
    lvtest::ReadOutcome read = lvtest::ReadAllSegments(*source, record, value);
    ASSERT_TRUE(read.ok) << read.error;
    std::vector<uint8_t> bytes = Concatenated(read);
    if (table == u"1-23") {
      while (attachment < store.attachments.size() && store.attachments[attachment] != bytes) ++attachment;
      EXPECT_LT(attachment, store.attachments.size());
    } else if (value == 1) {
      while (body < store.bodies.size() && store.bodies[body] != bytes) ++body;
      EXPECT_LT(body, store.bodies.size());
    }
    EXPECT_EQ(read.segments.size(), (bytes.size() + chunk - 1) / chunk);
    if (read.segments.size() >= 3) ++multi_chunk;
  });
  EXPECT_GT(compared, 600);
  EXPECT_GT(multi_chunk, 5);
  EXPECT_EQ(provider.ColumnCodePage(u"Msg", u"S1000"), 1200);
  EXPECT_EQ(provider.ColumnCodePage(u"1-23", u"S3707"), 1252);
}

// Exchange stores as edbgen writes them: bodies, compressed RTF and
// attachment data in the Msg, 1-23 and folder tables, on both page sizes;
// plain bodies are UTF-16 on 8 KiB pages and Windows-1252 on 4 KiB pages.
TEST_P(WriterStores, SampleAndSyntheticExchangeStoresAgreeWithLibesedb) {
  const uint32_t page_size = GetParam();
  edbtest::ScratchDir scratch;
  std::string sample = (scratch / "sample.edb").string();
  std::string synthetic = (scratch / "synthetic.edb").string();
  storegen::WriteSampleStore(sample, page_size);
  storegen::WriteSyntheticStore({.items = 400, .seed = 7}, page_size, synthetic);
  for (const std::string& path : {sample, synthetic}) {
    std::vector<std::string> differences;
    int compared = lvtest::CompareWithLibesedb(path, &differences);
    EXPECT_GT(compared, 5) << path;
    EXPECT_TRUE(differences.empty()) << path << ":\n" << Join(differences);
  }
  edb::FastLongValueProvider provider(synthetic, nullptr, {});
  EXPECT_EQ(provider.ColumnCodePage(u"Msg", u"S1000"), page_size == 4096 ? 1252 : 1200);
}

INSTANTIATE_TEST_SUITE_P(PageSizes, WriterStores, ::testing::Values(4096u, 8192u));

// 200,000 records, every third with a long value: identifiers pass 0xFFFF.
// libesedb is asked only for the values around that boundary and at the
// end (it takes time proportional to the rest of the tree per value).
TEST(LongValueAgreement, IdentifiersBeyond0xFFFFInA200000RecordTable) {
  using esewriter::ColumnType;
  using esewriter::Value;
  constexpr int kRecords = 200000;
  edbtest::ScratchDir scratch;
  std::string path = (scratch / "large.edb").string();
  {
    esewriter::DatabaseWriter db({.page_size = 8192, .scratch_directory = scratch.path().string()});
    auto& table = db.AddTable({"Msg", {{"N67b0", ColumnType::kLong}, {"N1009", ColumnType::kLongBinary}}});
    for (int i = 0; i < kRecords; ++i) {
      table.Append({Value::I32(i), i % 3 == 0 ? Value::Bytes(lvtest::PatternBytes(1024 + i % 5, i)) : Value::Null()});
    }
    db.Finish(path);
  }

  edb::FastLongValueProvider provider(path, nullptr, {});
  ASSERT_TRUE(provider.reads_itself()) << provider.fallback_reason();
  auto source = provider.ForTable(u"Msg");
  edb::EsedbLongValueSource esedb;
  int values = 0, record_number = 0, checked_with_libesedb = 0;
  uint32_t highest_lid = 0;
  edb::EsedbError error;
  edb::EsedbFile file = edb::OpenEsedbFile(path, &error);
  ASSERT_TRUE(file);
  edb::EsedbTable table;
  ASSERT_TRUE(edb::TableByIndex(file.get(), 2, &table, &error));
  int records = 0;
  libesedb_table_get_number_of_records(table.get(), &records, nullptr);
  ASSERT_EQ(records, kRecords);
  for (record_number = 0; record_number < records; record_number += 3) {
    edb::EsedbRecord record;
    ASSERT_TRUE(edb::RecordByIndex(table.get(), record_number, &record, &error));
    uint32_t lid = 0;
    std::string message;
    ASSERT_TRUE(edb::LongValueIdOf(record.get(), 1, &lid, &message)) << message;
    highest_lid = std::max(highest_lid, lid);
    lvtest::ReadOutcome ours = lvtest::ReadAllSegments(*source, record.get(), 1);
    ASSERT_TRUE(ours.ok) << ours.error;
    ASSERT_EQ(Concatenated(ours), lvtest::PatternBytes(1024 + record_number % 5, record_number)) << lid;
    if ((lid >= 0xfffe && lid <= 0x10001) || record_number + 3 >= records) {
      lvtest::ReadOutcome theirs = lvtest::ReadAllSegments(esedb, record.get(), 1);
      EXPECT_TRUE(theirs.ok);
      EXPECT_EQ(ours.segments, theirs.segments) << lid;
      ++checked_with_libesedb;
    }
    ++values;
  }
  EXPECT_EQ(values, (kRecords + 2) / 3);
  EXPECT_GT(highest_lid, 0x10000u);
  EXPECT_GE(checked_with_libesedb, 4);
}

}  // namespace
