// libesedb access for the store generator tests.
#include "stored_table_support.h"

#include <stdexcept>

#include "ese/esedb_handles.h"
#include "base/text_encoding.h"

namespace storegentest {
namespace {

std::runtime_error Failure(const std::string& what, const edb::EsedbError& error) {
  return std::runtime_error(what + ": " + error.Message());
}

edb::EsedbFile Open(const std::string& path) {
  edb::EsedbError error;
  edb::EsedbFile file = edb::OpenEsedbFile(path, &error);
  if (!file) throw Failure("cannot open " + path, error);
  return file;
}

std::string Utf8(const std::u16string& text) { return edb::Utf16ToUtf8(text); }

StoredValue ReadValue(libesedb_record_t* record, int index) {
  edb::EsedbError error;
  StoredValue value;
  if (libesedb_record_get_value_data_flags(record, index, &value.flags, error.slot()) != 1) {
    throw Failure("value flags", error);
  }
  if (value.separated()) {
    libesedb_long_value_t* raw = nullptr;
    if (libesedb_record_get_long_value(record, index, &raw, error.slot()) != 1) throw Failure("long value", error);
    edb::EsedbLongValue long_value(raw);
    if (libesedb_long_value_get_number_of_data_segments(raw, &value.segments, error.slot()) != 1) {
      throw Failure("segments", error);
    }
    for (int s = 0; s < value.segments; ++s) {
      size_t size = 0;
      if (libesedb_long_value_get_data_segment_size(raw, s, &size, error.slot()) != 1) throw Failure("segment", error);
      std::vector<uint8_t> segment(size);
      if (size > 0 && libesedb_long_value_get_data_segment(raw, s, segment.data(), size, error.slot()) != 1) {
        throw Failure("segment", error);
      }
      value.bytes.insert(value.bytes.end(), segment.begin(), segment.end());
    }
    value.null = false;
    return value;
  }
  size_t size = 0;
  if (libesedb_record_get_value_data_size(record, index, &size, error.slot()) != 1) throw Failure("value size", error);
  if (size == 0) return value;
  value.bytes.resize(size);
  if (libesedb_record_get_value_data(record, index, value.bytes.data(), size, error.slot()) != 1) {
    throw Failure("value data", error);
  }
  value.null = false;
  return value;
}

}  // namespace

int StoredTable::Column(std::string_view column) const {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i] == column) return static_cast<int>(i);
  }
  return -1;
}

const StoredValue& StoredTable::At(size_t row, std::string_view column) const {
  static const StoredValue kNull;
  const int position = Column(column);
  return position < 0 ? kNull : rows.at(row)[static_cast<size_t>(position)];
}

std::vector<std::string> StoredTableNames(const std::string& path) {
  edb::EsedbFile file = Open(path);
  edb::EsedbError error;
  int count = 0;
  if (libesedb_file_get_number_of_tables(file.get(), &count, error.slot()) != 1) throw Failure("tables", error);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    edb::EsedbTable table;
    std::u16string name;
    if (!edb::TableByIndex(file.get(), i, &table, &error) || !edb::TableName(table.get(), &name, &error)) {
      throw Failure("table " + std::to_string(i), error);
    }
    names.push_back(Utf8(name));
  }
  return names;
}

StoredTable ReadStoredTable(const std::string& path, const std::string& wanted) {
  edb::EsedbFile file = Open(path);
  edb::EsedbError error;
  libesedb_table_t* raw = nullptr;
  if (libesedb_file_get_table_by_utf8_name(file.get(), reinterpret_cast<const uint8_t*>(wanted.data()), wanted.size(),
                                           &raw, error.slot()) != 1) {
    throw Failure("no table " + wanted, error);
  }
  edb::EsedbTable table(raw);
  StoredTable out;
  out.name = wanted;
  int column_count = 0;
  if (libesedb_table_get_number_of_columns(raw, &column_count, 0, error.slot()) != 1) throw Failure("columns", error);
  for (int c = 0; c < column_count; ++c) {
    edb::EsedbColumn column;
    std::u16string name;
    uint32_t type = 0;
    if (!edb::ColumnByIndex(raw, c, &column, &error) || !edb::ColumnName(column.get(), &name, &error) ||
        libesedb_column_get_type(column.get(), &type, error.slot()) != 1) {
      throw Failure("column " + std::to_string(c), error);
    }
    out.columns.push_back(Utf8(name));
    out.types.push_back(type);
  }
  int record_count = 0;
  if (libesedb_table_get_number_of_records(raw, &record_count, error.slot()) != 1) throw Failure("records", error);
  for (int r = 0; r < record_count; ++r) {
    edb::EsedbRecord record;
    if (!edb::RecordByIndex(raw, r, &record, &error)) throw Failure("record " + std::to_string(r), error);
    std::vector<StoredValue> row;
    for (int c = 0; c < column_count; ++c) row.push_back(ReadValue(record.get(), c));
    out.rows.push_back(std::move(row));
  }
  return out;
}

std::optional<uint64_t> BigEndian64(const std::vector<uint8_t>& bytes) {
  if (bytes.size() != 8) return std::nullopt;
  uint64_t v = 0;
  for (uint8_t b : bytes) v = (v << 8) | b;
  return v;
}

std::optional<uint64_t> ReadOrdered(const StoredTable& table, size_t row, std::string_view column) {
  const int position = table.Column(column);
  if (position < 0) return std::nullopt;
  const StoredValue& value = table.rows.at(row)[static_cast<size_t>(position)];
  if (value.null) return std::nullopt;
  bool big_endian = false;
  for (int c = 0; c < position; ++c) {
    const std::string& name = table.columns[static_cast<size_t>(c)];
    const bool binary = table.types[static_cast<size_t>(c)] == 9 || table.types[static_cast<size_t>(c)] == 11;
    if (binary && name.size() <= 6 && (name[0] == 'Q' || name.starts_with("N67b0"))) big_endian = true;
  }
  uint64_t v = 0;
  for (size_t i = 0; i < value.bytes.size(); ++i) {
    const size_t from = big_endian ? i : value.bytes.size() - 1 - i;
    v = (v << 8) | value.bytes[from];
  }
  return v;
}

std::string HexDecoded(const std::vector<uint8_t>& bytes) {
  std::string out;
  for (uint8_t b : bytes) {
    if (b == 0) {
      out.push_back(' ');
    } else if (b >= 32 && b <= 122) {
      out.push_back(static_cast<char>(b));
    }
  }
  return out;
}

std::string Utf16BytesToUtf8(const std::vector<uint8_t>& bytes) {
  return edb::Utf16ToUtf8(edb::Utf16LeBytesToText(bytes.data(), bytes.size()));
}

}  // namespace storegentest
