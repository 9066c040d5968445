// The database seam over libesedb's tables, records, multi-values and long values.
#include "ese/libesedb_database.h"

#include <libesedb.h>

#include <string_view>
#include <vector>

#include "base/corruption_reporter.h"
#include "ese/esedb_handles.h"

namespace edb::ese {
namespace {

Status Failed(std::string_view what, const EsedbError& error) {
  return Status::Corruption(std::string(what) + ": " + error.Message());
}

// UTF-16 text from a libesedb getter pair (size, then text), without the
// terminator; NotFound when the value is NULL.
template <typename SizeGetter, typename TextGetter>
Result<std::u16string> Utf16Text(SizeGetter size_getter, TextGetter text_getter) {
  EsedbError error;
  size_t size = 0;
  int found = size_getter(&size, error.slot());
  if (found == 0) return Status::NotFound("NULL");
  if (found != 1) return Failed("text", error);
  std::u16string text(size, u'\0');
  if (size > 0 && text_getter(reinterpret_cast<uint16_t*>(text.data()), size, error.slot()) != 1)
    return Failed("text", error);
  text.resize(std::char_traits<char16_t>::length(text.c_str()));
  return text;
}

class EsedbLongValueSegments : public LongValue {
 public:
  explicit EsedbLongValueSegments(EsedbLongValue handle) : handle_(std::move(handle)) {
    libesedb_long_value_get_number_of_data_segments(handle_.get(), &count_, nullptr);
  }
  int segment_count() const override { return count_; }
  Status ReadSegment(int index, std::vector<uint8_t>* data) override {
    EsedbError error;
    size_t size = 0;
    if (libesedb_long_value_get_data_segment_size(handle_.get(), index, &size, error.slot()) != 1)
      return Failed("long-value segment", error);
    data->resize(size);
    if (size > 0 && libesedb_long_value_get_data_segment(handle_.get(), index, data->data(), size, error.slot()) != 1)
      return Failed("long-value segment", error);
    return Status::Ok();
  }

 private:
  EsedbLongValue handle_;
  int count_ = 0;
};

class EsedbMembers : public MultiValue {
 public:
  EsedbMembers(EsedbMultiValue handle, std::vector<bool> separated)
      : handle_(std::move(handle)), separated_(std::move(separated)) {
    libesedb_multi_value_get_number_of_values(handle_.get(), &count_, nullptr);
  }
  int count() const override { return count_; }
  Status Member(int index, std::vector<uint8_t>* data) const override {
    EsedbError error;
    size_t size = 0;
    if (libesedb_multi_value_get_value_data_size(handle_.get(), index, &size, error.slot()) != 1)
      return Failed("multi-value member", error);
    data->resize(size);
    if (size > 0 && libesedb_multi_value_get_value_data(handle_.get(), index, data->data(), size, error.slot()) != 1)
      return Failed("multi-value member", error);
    return Status::Ok();
  }
  Result<std::u16string> MemberText(int index) const override {
    return Utf16Text(
        [&](size_t* size, libesedb_error_t** e) {
          return libesedb_multi_value_get_value_utf16_string_size(handle_.get(), index, size, e);
        },
        [&](uint16_t* text, size_t size, libesedb_error_t** e) {
          return libesedb_multi_value_get_value_utf16_string(handle_.get(), index, text, size, e);
        });
  }
  bool MemberIsLongValue(int index) const override {
    return index >= 0 && static_cast<size_t>(index) < separated_.size() && separated_[index];
  }

 private:
  EsedbMultiValue handle_;
  std::vector<bool> separated_;
  int count_ = 0;
};

// Which members of a multi-value's stored bytes are kept apart (bit 15 of
// their offsets), which libesedb does not say.
std::vector<bool> SeparatedMembers(const std::vector<uint8_t>& raw, int count) {
  std::vector<bool> separated(static_cast<size_t>(count), false);
  if (raw.size() < 2) return separated;
  size_t table = (raw[0] | (raw[1] << 8)) & 0x7fff;
  if (table != 2 * static_cast<size_t>(count) || table > raw.size()) return separated;
  for (int i = 0; i < count; ++i) separated[i] = (raw[2 * i + 1] & 0x80) != 0;
  return separated;
}

class EsedbRecordValues : public Record {
 public:
  explicit EsedbRecordValues(EsedbRecord handle) : handle_(std::move(handle)) {
    libesedb_record_get_number_of_values(handle_.get(), &count_, nullptr);
  }
  int value_count() const override { return count_; }
  Status ReadValue(int value, Value* out) const override {
    EsedbError error;
    size_t size = 0;
    if (libesedb_record_get_column_type(handle_.get(), value, &out->column_type, error.slot()) != 1 ||
        libesedb_record_get_value_data_flags(handle_.get(), value, &out->flags, error.slot()) != 1 ||
        libesedb_record_get_value_data_size(handle_.get(), value, &size, error.slot()) != 1)
      return Failed("value " + std::to_string(value), error);
    out->data.resize(size);
    if (size > 0 && libesedb_record_get_value_data(handle_.get(), value, out->data.data(), size, error.slot()) != 1)
      return Failed("value " + std::to_string(value), error);
    return Status::Ok();
  }
  Result<std::u16string> ValueText(int value) const override {
    return Utf16Text(
        [&](size_t* size, libesedb_error_t** e) {
          return libesedb_record_get_value_utf16_string_size(handle_.get(), value, size, e);
        },
        [&](uint16_t* text, size_t size, libesedb_error_t** e) {
          return libesedb_record_get_value_utf16_string(handle_.get(), value, text, size, e);
        });
  }
  Result<std::unique_ptr<MultiValue>> OpenMultiValue(int value) const override {
    Value raw;
    if (Status status = ReadValue(value, &raw); !status.ok()) return status;
    EsedbError error;
    libesedb_multi_value_t* handle = nullptr;
    if (libesedb_record_get_multi_value(handle_.get(), value, &handle, error.slot()) != 1 || handle == nullptr)
      return Failed("multi-value", error);
    EsedbMultiValue owned(handle);
    int count = 0;
    libesedb_multi_value_get_number_of_values(owned.get(), &count, nullptr);
    return std::unique_ptr<MultiValue>(std::make_unique<EsedbMembers>(std::move(owned), SeparatedMembers(raw.data, count)));
  }
  Result<std::unique_ptr<LongValue>> OpenLongValue(int value) const override {
    EsedbError error;
    libesedb_long_value_t* handle = nullptr;
    if (libesedb_record_get_long_value(handle_.get(), value, &handle, error.slot()) != 1 || handle == nullptr)
      return Failed("long value", error);
    return std::unique_ptr<LongValue>(std::make_unique<EsedbLongValueSegments>(EsedbLongValue(handle)));
  }

 private:
  EsedbRecord handle_;
  int count_ = 0;
};

class EsedbTableRecords : public Table {
 public:
  EsedbTableRecords(EsedbTable handle, std::u16string name, std::vector<ColumnInfo> columns)
      : handle_(std::move(handle)), name_(std::move(name)), columns_(std::move(columns)) {}
  const std::u16string& name() const override { return name_; }
  const std::vector<ColumnInfo>& columns() const override { return columns_; }
  Result<int64_t> RecordCount() override {
    EsedbError error;
    int count = 0;
    if (libesedb_table_get_number_of_records(handle_.get(), &count, error.slot()) != 1)
      return Failed("records of table", error);
    return int64_t{count};
  }
  Result<std::unique_ptr<Record>> ReadRecord(int64_t position) override {
    EsedbError error;
    EsedbRecord record;
    if (!RecordByIndex(handle_.get(), static_cast<int>(position), &record, &error))
      return Failed("record " + std::to_string(position), error);
    return std::unique_ptr<Record>(std::make_unique<EsedbRecordValues>(std::move(record)));
  }
  // libesedb opens long values only through a record's value.
  Result<std::unique_ptr<LongValue>> OpenLongValue(std::span<const uint8_t>) override {
    return Status::Unsupported("libesedb cannot read a long value by its key");
  }

 private:
  EsedbTable handle_;
  std::u16string name_;
  std::vector<ColumnInfo> columns_;
};

class EsedbDatabaseFile : public Database {
 public:
  explicit EsedbDatabaseFile(EsedbFile file) : file_(std::move(file)) {
    libesedb_file_get_number_of_tables(file_.get(), &count_, nullptr);
  }
  std::string_view reader_name() const override { return "libesedb"; }
  int table_count() const override { return count_; }
  Result<std::u16string> TableName(int index) override {
    EsedbError error;
    EsedbTable table;
    std::u16string name;
    if (!TableByIndex(file_.get(), index, &table, &error) || !edb::TableName(table.get(), &name, &error))
      return Failed("table " + std::to_string(index), error);
    return name;
  }
  Result<std::unique_ptr<Table>> OpenTable(int index) override {
    EsedbError error;
    EsedbTable table;
    std::u16string name;
    if (!TableByIndex(file_.get(), index, &table, &error) || !edb::TableName(table.get(), &name, &error))
      return Failed("table " + std::to_string(index), error);
    int count = 0;
    if (libesedb_table_get_number_of_columns(table.get(), &count, 0, error.slot()) != 1)
      return Failed("columns of table", error);
    std::vector<ColumnInfo> columns;
    for (int c = 0; c < count; ++c) {
      EsedbColumn column;
      ColumnInfo info;
      if (!ColumnByIndex(table.get(), c, &column, &error) || !ColumnName(column.get(), &info.name, &error))
        return Failed("column " + std::to_string(c), error);
      libesedb_column_get_identifier(column.get(), &info.id, nullptr);
      libesedb_column_get_type(column.get(), &info.type, nullptr);
      columns.push_back(std::move(info));
    }
    return std::unique_ptr<Table>(std::make_unique<EsedbTableRecords>(std::move(table), std::move(name), std::move(columns)));
  }

 private:
  EsedbFile file_;
  int count_ = 0;
};

}  // namespace

Result<std::unique_ptr<Database>> OpenLibesedbDatabase(const std::string& path, CorruptionReporter& corruption) {
  (void)corruption;
  EsedbError error;
  EsedbFile file = OpenEsedbFile(path, &error);
  if (!file) return Status::IoError("libesedb cannot open " + path + ": " + error.Message());
  return std::unique_ptr<Database>(std::make_unique<EsedbDatabaseFile>(std::move(file)));
}

}  // namespace edb::ese
