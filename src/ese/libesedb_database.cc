// Database, Table, Record, MultiValue and LongValue over libesedb handles.
#include "ese/libesedb_database.h"

#include <libesedb.h>

#include <bit>
#include <optional>

#include "base/corruption_reporter.h"
#include "base/text_encoding.h"
#include "ese/esedb_handles.h"
#include "ese/fast_long_value_source.h"
#include "ese/long_value_source.h"
#include "ese/multi_value_members.h"

namespace edb::ese {
namespace {

// libesedb's reason, or `otherwise` when it gave none.
std::string ReasonOf(const EsedbError& error, const char* otherwise) {
  return error.has_error() ? error.Message() : otherwise;
}

// The segments of one long value, as our long-value sources hand them out.
class SegmentsLongValue : public LongValue {
 public:
  explicit SegmentsLongValue(std::unique_ptr<LongValueSegments> segments) : segments_(std::move(segments)) {}
  int segment_count() const override { return segments_->count(); }
  Status ReadSegment(int index, std::vector<uint8_t>* data) override {
    std::string error;
    if (!segments_->Segment(index, data, &error)) return Status::Corruption(error);
    return Status::Ok();
  }

 private:
  std::unique_ptr<LongValueSegments> segments_;
};

class LibesedbMultiValue : public MultiValue {
 public:
  explicit LibesedbMultiValue(MultiValueMembers members) : members_(std::move(members)) {}
  int count() const override { return members_.count(); }
  Status Member(int index, std::vector<uint8_t>* data) const override {
    if (!members_.Data(index, data)) return Status::Corruption("member " + std::to_string(index) + " cannot be read");
    return Status::Ok();
  }
  Result<std::u16string> MemberText(int index) const override {
    std::optional<std::u16string> text = members_.Text(index);
    if (!text) return Status::Corruption("member " + std::to_string(index) + " cannot be read as text");
    return *std::move(text);
  }
  bool MemberIsLongValue(int index) const override { return members_.StoredAsLongValue(index); }

 private:
  MultiValueMembers members_;
};

class LibesedbRecord : public Record {
 public:
  LibesedbRecord(EsedbRecord record, LongValueSource* long_values)
      : record_(std::move(record)), long_values_(long_values) {
    int count = 0;
    if (libesedb_record_get_number_of_values(record_.get(), &count, nullptr) == 1 && count > 0) value_count_ = count;
  }

  int value_count() const override { return value_count_; }

  Status ReadValue(int value, Value* out) const override {
    EsedbError error;
    libesedb_record_t* record = record_.get();
    if (libesedb_record_get_column_type(record, value, &out->column_type, error.slot()) != 1 ||
        libesedb_record_get_value_data_flags(record, value, &out->flags, error.slot()) != 1) {
      return Status::Corruption(ReasonOf(error, "the value cannot be read"));
    }
    size_t size = 0;
    if (libesedb_record_get_value_data_size(record, value, &size, error.slot()) != 1) {
      return Status::Corruption(ReasonOf(error, "the value cannot be read"));
    }
    out->data.assign(size, 0);
    if (size > 0 && libesedb_record_get_value_data(record, value, out->data.data(), size, error.slot()) != 1) {
      return Status::Corruption(ReasonOf(error, "the value cannot be read"));
    }
    return Status::Ok();
  }

  Result<std::u16string> ValueText(int value) const override {
    EsedbError error;
    size_t size = 0;
    const int found = libesedb_record_get_value_utf16_string_size(record_.get(), value, &size, error.slot());
    if (found == 0) return Status::NotFound("NULL");
    if (found != 1) return Status::Corruption(ReasonOf(error, "the value cannot be read as text"));
    if (size == 0) return Status::Corruption("the text has no terminator");
    std::u16string text(size, u'\0');
    if (libesedb_record_get_value_utf16_string(record_.get(), value, reinterpret_cast<uint16_t*>(text.data()), size,
                                               error.slot()) != 1) {
      return Status::Corruption(ReasonOf(error, "the value cannot be read as text"));
    }
    text.pop_back();  // the terminator
    return text;
  }

  // libesedb's typed getters, except for singles, which libesedb 20240420
  // reads as 0 whatever is stored: those are decoded from their bytes.
  Result<std::optional<uint64_t>> ReadFixed(int value) const override {
    libesedb_record_t* record = record_.get();
    EsedbError error;
    uint32_t type = 0;
    if (libesedb_record_get_column_type(record, value, &type, error.slot()) != 1) {
      return Status::Corruption(ReasonOf(error, "the value cannot be read"));
    }
    int found = -1;
    uint64_t bits = 0;
    switch (type) {
      case column_type::kBit: {
        uint8_t v = 0;
        found = libesedb_record_get_value_boolean(record, value, &v, error.slot());
        bits = v;
        break;
      }
      case column_type::kUnsignedByte: {
        uint8_t v = 0;
        found = libesedb_record_get_value_8bit(record, value, &v, error.slot());
        bits = v;
        break;
      }
      case column_type::kShort:
      case column_type::kUnsignedShort: {
        uint16_t v = 0;
        found = libesedb_record_get_value_16bit(record, value, &v, error.slot());
        bits = v;
        break;
      }
      case column_type::kLong:
      case column_type::kUnsignedLong: {
        uint32_t v = 0;
        found = libesedb_record_get_value_32bit(record, value, &v, error.slot());
        bits = v;
        break;
      }
      case column_type::kCurrency:
      case column_type::kLongLong:
        found = libesedb_record_get_value_64bit(record, value, &bits, error.slot());
        break;
      case column_type::kIeeeDouble: {
        double v = 0;
        found = libesedb_record_get_value_floating_point_64bit(record, value, &v, error.slot());
        bits = std::bit_cast<uint64_t>(v);
        break;
      }
      case column_type::kDateTime:
        found = libesedb_record_get_value_filetime(record, value, &bits, error.slot());
        break;
      default:
        return Record::ReadFixed(value);
    }
    if (found == 0) return std::optional<uint64_t>();
    if (found != 1) return Status::Corruption(ReasonOf(error, "the value cannot be read"));
    return std::optional<uint64_t>(bits);
  }

  Result<std::unique_ptr<MultiValue>> OpenMultiValue(int value) const override {
    Value raw;
    if (Status status = ReadValue(value, &raw); !status.ok()) return status;
    std::optional<MultiValueMembers> members = MultiValueMembers::Open(record_.get(), value, raw.data);
    if (!members) return Status::Corruption("the multi-value cannot be opened");
    return std::unique_ptr<MultiValue>(std::make_unique<LibesedbMultiValue>(*std::move(members)));
  }

  Result<std::unique_ptr<LongValue>> OpenLongValue(int value) const override {
    std::string error;
    std::unique_ptr<LongValueSegments> segments = long_values_->Open(record_.get(), value, &error);
    if (segments == nullptr) return Status::Corruption(error);
    return std::unique_ptr<LongValue>(std::make_unique<SegmentsLongValue>(std::move(segments)));
  }

 private:
  EsedbRecord record_;
  LongValueSource* long_values_;
  int value_count_ = 0;
};

class LibesedbTable : public Table {
 public:
  LibesedbTable(EsedbTable table, std::u16string name, std::unique_ptr<LongValueSource> long_values,
                const LongValueProvider& code_pages, CorruptionReporter& corruption)
      : table_(std::move(table)),
        name_(std::move(name)),
        long_values_(std::move(long_values)),
        code_pages_(code_pages),
        corruption_(corruption) {}

  const std::u16string& name() const override { return name_; }

  // Read on first use, so that a table whose columns nobody asks for never
  // reports damage in its column list.
  const std::vector<ColumnInfo>& columns() const override {
    if (!columns_) columns_ = ReadColumns();
    return *columns_;
  }

  Result<int64_t> RecordCount() override {
    EsedbError error;
    int count = 0;
    if (libesedb_table_get_number_of_records(table_.get(), &count, error.slot()) != 1) {
      return Status::Corruption(error.Message());
    }
    return int64_t{count};
  }

  Result<std::unique_ptr<Record>> ReadRecord(int64_t position) override {
    EsedbError error;
    EsedbRecord record;
    if (!RecordByIndex(table_.get(), static_cast<int>(position), &record, &error)) {
      return Status::Corruption(error.Message());
    }
    return std::unique_ptr<Record>(std::make_unique<LibesedbRecord>(std::move(record), long_values_.get()));
  }

  Result<std::unique_ptr<LongValue>> OpenLongValue(std::span<const uint8_t>) override {
    return Status::Unsupported("libesedb opens long values only through their record");
  }

 private:
  std::vector<ColumnInfo> ReadColumns() const {
    std::vector<ColumnInfo> columns;
    EsedbError error;
    int count = 0;
    if (libesedb_table_get_number_of_columns(table_.get(), &count, 0, error.slot()) != 1) {
      corruption_.Corruption("columns of table " + Utf16ToUtf8(name_), error.Message());
      return columns;
    }
    for (int position = 0; position < count; ++position) {
      ColumnInfo info;
      EsedbColumn column;
      if (!ColumnByIndex(table_.get(), position, &column, &error) || !ColumnName(column.get(), &info.name, &error)) {
        corruption_.Corruption("column " + std::to_string(position) + " of table " + Utf16ToUtf8(name_),
                               ReasonOf(error, "the column has no name"));
        info.name.clear();
      } else {
        libesedb_column_get_identifier(column.get(), &info.id, nullptr);
        libesedb_column_get_type(column.get(), &info.type, nullptr);
        info.code_page = static_cast<uint32_t>(code_pages_.ColumnCodePage(name_, info.name));
      }
      columns.push_back(std::move(info));
    }
    return columns;
  }

  EsedbTable table_;
  std::u16string name_;
  std::unique_ptr<LongValueSource> long_values_;
  const LongValueProvider& code_pages_;
  CorruptionReporter& corruption_;
  mutable std::optional<std::vector<ColumnInfo>> columns_;
};

class LibesedbDatabase : public Database {
 public:
  LibesedbDatabase(EsedbFile file, int table_count, std::unique_ptr<LongValueProvider> long_values,
                   ReaderChoice choice, CorruptionReporter& corruption)
      : file_(std::move(file)),
        table_count_(table_count),
        long_values_(std::move(long_values)),
        choice_(choice),
        corruption_(corruption) {}

  ~LibesedbDatabase() override {
    long_values_.reset();  // before the file it reads beside
  }

  std::string_view reader_name() const override { return "libesedb"; }
  int table_count() const override { return table_count_; }

  Result<std::u16string> TableName(int index) override {
    EsedbError error;
    EsedbTable table;
    std::u16string name;
    if (!TableByIndex(file_.get(), index, &table, &error) || !edb::TableName(table.get(), &name, &error)) {
      return Status::Corruption(ReasonOf(error, "the table has no name"));
    }
    return name;
  }

  Result<std::unique_ptr<Table>> OpenTable(int index) override {
    EsedbError error;
    EsedbTable table;
    std::u16string name;
    if (!TableByIndex(file_.get(), index, &table, &error) || !edb::TableName(table.get(), &name, &error)) {
      return Status::Corruption(error.Message());
    }
    std::unique_ptr<LongValueSource> long_values;
    if (choice_ == ReaderChoice::kNative) long_values = long_values_->ForTable(name);
    if (!long_values) long_values = std::make_unique<EsedbLongValueSource>();
    return std::unique_ptr<Table>(std::make_unique<LibesedbTable>(std::move(table), std::move(name),
                                                                  std::move(long_values), *long_values_, corruption_));
  }

 private:
  EsedbFile file_;
  int table_count_;
  // Our own long-value reader and catalog: long values (kNative) and the
  // code pages of columns (both choices).
  std::unique_ptr<LongValueProvider> long_values_;
  ReaderChoice choice_;
  CorruptionReporter& corruption_;
};

}  // namespace

Result<std::unique_ptr<Database>> OpenLibesedbDatabase(const std::string& path, ReaderChoice choice,
                                                       CorruptionReporter& corruption) {
  EsedbError error;
  EsedbFile file = OpenEsedbFile(path, &error);
  if (!file) return Status::IoError(error.Message());
  int table_count = 0;
  if (libesedb_file_get_number_of_tables(file.get(), &table_count, nullptr) != 1 || table_count < 0) table_count = 0;
  auto long_values = std::make_unique<FastLongValueProvider>(path, &corruption, FastLongValueProvider::Notice());
  return std::unique_ptr<Database>(std::make_unique<LibesedbDatabase>(std::move(file), table_count,
                                                                      std::move(long_values), choice, corruption));
}

}  // namespace edb::ese
