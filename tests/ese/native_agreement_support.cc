// Record-by-record comparison of the native reader with libesedb.
#include "native_agreement_support.h"

#include <libesedb.h>

#include <memory>

#include "ese/database.h"
#include "ese/native_database.h"
#include "ese/esedb_handles.h"
#include "base/text_encoding.h"

namespace nativetest {
namespace {

using edb::ese::Value;

constexpr size_t kDifferencesKept = 30;

class Comparison {
 public:
  explicit Comparison(Agreement* result) : result_(result) {}

  void Differ(const std::string& where, const std::string& what) {
    ++result_->difference_count;
    if (result_->differences.size() < kDifferencesKept) result_->differences.push_back(where + ": " + what);
  }

  void Tables(libesedb_file_t* file, edb::ese::Database& native, int64_t max_records) {
    int count = 0;
    libesedb_file_get_number_of_tables(file, &count, nullptr);
    if (count != native.table_count()) {
      Differ("tables", std::to_string(count) + " through libesedb, " + std::to_string(native.table_count()) + " native");
      return;
    }
    for (int t = 0; t < count; ++t) {
      edb::EsedbError error;
      edb::EsedbTable table;
      if (!edb::TableByIndex(file, t, &table, &error)) {
        Differ("table " + std::to_string(t), "libesedb cannot open it: " + error.Message());
        continue;
      }
      auto native_table = native.OpenTable(t);
      if (!native_table.ok()) {
        Differ("table " + std::to_string(t), "native cannot open it: " + native_table.status().reason());
        continue;
      }
      ++result_->tables;
      Table(table.get(), **native_table, max_records);
    }
  }

 private:
  void Table(libesedb_table_t* table, edb::ese::Table& native, int64_t max_records) {
    std::u16string name;
    edb::EsedbError error;
    edb::TableName(table, &name, &error);
    const std::string where = "table " + edb::Utf16ToUtf8(name);
    if (name != native.name()) Differ(where, "native name " + edb::Utf16ToUtf8(native.name()));
    if (!Columns(table, native, where)) return;
    int count = 0;
    auto native_count = native.RecordCount();
    if (!native_count.ok()) return Differ(where, "native record count fails: " + native_count.status().reason());
    if (libesedb_table_get_number_of_records(table, &count, error.slot()) != 1) {
      result_->libesedb_refusals.push_back(where + ": " + error.Message());
      return;
    }
    if (count != *native_count) {
      return Differ(where, std::to_string(count) + " records through libesedb, " + std::to_string(*native_count) +
                               " native");
    }
    for (int i = 0; i < count && (max_records <= 0 || i < max_records); ++i) {
      edb::EsedbRecord record;
      if (!edb::RecordByIndex(table, i, &record, &error)) {
        result_->libesedb_refusals.push_back(where + " record " + std::to_string(i) + ": " + error.Message());
        return;  // libesedb refuses every record of such a table alike
      }
      auto native_record = native.ReadRecord(i);
      if (!native_record.ok()) {
        Differ(where + " record " + std::to_string(i), "native: " + native_record.status().reason());
        continue;
      }
      ++result_->records;
      Record(record.get(), **native_record, native, where + " record " + std::to_string(i));
    }
  }

  bool Columns(libesedb_table_t* table, edb::ese::Table& native, const std::string& where) {
    int count = 0;
    libesedb_table_get_number_of_columns(table, &count, 0, nullptr);
    const auto& columns = native.columns();
    if (static_cast<size_t>(count) != columns.size()) {
      Differ(where, std::to_string(count) + " columns through libesedb, " + std::to_string(columns.size()) + " native");
      return false;
    }
    for (int c = 0; c < count; ++c) {
      edb::EsedbError error;
      edb::EsedbColumn column;
      if (!edb::ColumnByIndex(table, c, &column, &error)) continue;
      uint32_t id = 0;
      uint32_t type = 0;
      std::u16string name;
      libesedb_column_get_identifier(column.get(), &id, nullptr);
      libesedb_column_get_type(column.get(), &type, nullptr);
      edb::ColumnName(column.get(), &name, &error);
      if (id != columns[c].id || type != columns[c].type || name != columns[c].name)
        Differ(where + " column " + std::to_string(c), "id, type or name differ");
    }
    return true;
  }

  void Record(libesedb_record_t* record, edb::ese::Record& native, edb::ese::Table& native_table,
              const std::string& where) {
    int count = 0;
    libesedb_record_get_number_of_values(record, &count, nullptr);
    if (count != native.value_count()) return Differ(where, "value counts differ");
    for (int v = 0; v < count; ++v) {
      ++result_->values;
      const std::string at = where + " value " + std::to_string(v);
      Value mine;
      if (edb::Status status = native.ReadValue(v, &mine); !status.ok()) {
        Differ(at, "native: " + status.reason());
        continue;
      }
      uint32_t type = 0;
      uint8_t flags = 0;
      size_t size = 0;
      libesedb_record_get_column_type(record, v, &type, nullptr);
      libesedb_record_get_value_data_flags(record, v, &flags, nullptr);
      libesedb_record_get_value_data_size(record, v, &size, nullptr);
      std::vector<uint8_t> data(size);
      if (size > 0) libesedb_record_get_value_data(record, v, data.data(), size, nullptr);
      if (type != mine.column_type) Differ(at, "column type");
      if (flags != mine.flags) Differ(at, "flags " + std::to_string(flags) + " vs " + std::to_string(mine.flags));
      if (data != mine.data) Differ(at, "bytes differ");
      if ((flags & 0x0c) == 0x04) LongValue(record, v, native, native_table, at);
      if ((flags & 0x18) == 0x08) MultiValue(record, v, native, at);
      if ((flags & 0x0c) == 0 && size > 0 && (type == 10 || type == 12)) Text(record, v, native, at);
    }
  }

  void LongValue(libesedb_record_t* record, int v, edb::ese::Record& native, edb::ese::Table& native_table,
                 const std::string& at) {
    libesedb_long_value_t* raw = nullptr;
    edb::EsedbError error;
    if (libesedb_record_get_long_value(record, v, &raw, error.slot()) != 1) {
      result_->libesedb_refusals.push_back(at + " long value: " + error.Message());
      return;
    }
    edb::EsedbLongValue theirs(raw);
    ++result_->long_values;
    auto mine = native.OpenLongValue(v);
    if (!mine.ok()) return Differ(at, "native long value: " + mine.status().reason());
    int segments = 0;
    libesedb_long_value_get_number_of_data_segments(theirs.get(), &segments, nullptr);
    if (segments != (*mine)->segment_count()) return Differ(at, "segment counts differ");
    for (int s = 0; s < segments; ++s) {
      size_t size = 0;
      libesedb_long_value_get_data_segment_size(theirs.get(), s, &size, nullptr);
      std::vector<uint8_t> expected(size);
      if (size > 0) libesedb_long_value_get_data_segment(theirs.get(), s, expected.data(), size, nullptr);
      std::vector<uint8_t> segment;
      if (!(*mine)->ReadSegment(s, &segment).ok() || segment != expected)
        Differ(at, "segment " + std::to_string(s) + " differs");
    }
    (void)native_table;
  }

  void MultiValue(libesedb_record_t* record, int v, edb::ese::Record& native, const std::string& at) {
    libesedb_multi_value_t* raw = nullptr;
    edb::EsedbError error;
    if (libesedb_record_get_multi_value(record, v, &raw, error.slot()) != 1) {
      result_->libesedb_refusals.push_back(at + " multi-value: " + error.Message());
      return;
    }
    edb::EsedbMultiValue theirs(raw);
    ++result_->multi_values;
    auto mine = native.OpenMultiValue(v);
    if (!mine.ok()) return Differ(at, "native multi-value: " + mine.status().reason());
    int count = 0;
    libesedb_multi_value_get_number_of_values(theirs.get(), &count, nullptr);
    if (count != (*mine)->count()) return Differ(at, "member counts differ");
    uint32_t type = 0;
    libesedb_record_get_column_type(record, v, &type, nullptr);
    for (int m = 0; m < count; ++m) {
      size_t size = 0;
      libesedb_multi_value_get_value_data_size(theirs.get(), m, &size, nullptr);
      std::vector<uint8_t> expected(size);
      if (size > 0) libesedb_multi_value_get_value_data(theirs.get(), m, expected.data(), size, nullptr);
      std::vector<uint8_t> member;
      if (!(*mine)->Member(m, &member).ok() || member != expected) Differ(at, "member " + std::to_string(m));
      if ((type != 10 && type != 12) || (*mine)->MemberIsLongValue(m) || size == 0) continue;
      size_t units = 0;
      if (libesedb_multi_value_get_value_utf16_string_size(theirs.get(), m, &units, nullptr) != 1) continue;
      std::u16string text(units, u'\0');
      if (libesedb_multi_value_get_value_utf16_string(theirs.get(), m, reinterpret_cast<uint16_t*>(text.data()),
                                                      units, nullptr) != 1)
        continue;
      text.resize(std::char_traits<char16_t>::length(text.c_str()));
      auto my_text = (*mine)->MemberText(m);
      if (!my_text.ok() || *my_text != text) Differ(at, "member text " + std::to_string(m));
    }
  }

  void Text(libesedb_record_t* record, int v, edb::ese::Record& native, const std::string& at) {
    size_t units = 0;
    edb::EsedbError error;
    if (libesedb_record_get_value_utf16_string_size(record, v, &units, error.slot()) != 1) {
      auto mine = native.ValueText(v);
      if (mine.ok()) Differ(at, "libesedb gives no text (" + error.Message() + "), native does");
      return;
    }
    std::u16string text(units, u'\0');
    if (units > 0 &&
        libesedb_record_get_value_utf16_string(record, v, reinterpret_cast<uint16_t*>(text.data()), units, nullptr) != 1)
      return;
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    ++result_->texts;
    auto mine = native.ValueText(v);
    if (!mine.ok()) return Differ(at, "native text: " + mine.status().reason());
    if (*mine != text) Differ(at, "text \"" + edb::Utf16ToUtf8(text) + "\" vs \"" + edb::Utf16ToUtf8(*mine) + "\"");
  }

  Agreement* result_;
};

}  // namespace

Agreement CompareWithLibesedb(const std::string& path, int64_t max_records) {
  Agreement result;
  Comparison comparison(&result);
  RecordingReporter reporter;
  auto native = edb::ese::OpenNativeDatabase(path, reporter);
  if (!native.ok()) {
    comparison.Differ(path, "native cannot open it: " + native.status().reason());
    return result;
  }
  edb::EsedbError error;
  edb::EsedbFile file = edb::OpenEsedbFile(path, &error);
  if (!file) {
    comparison.Differ(path, "libesedb cannot open it: " + error.Message());
    return result;
  }
  comparison.Tables(file.get(), **native, max_records);
  for (const std::string& report : reporter.reports) comparison.Differ(path, "reported: " + report);
  return result;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace nativetest
