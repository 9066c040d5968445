// RAII ownership of libesedb handles and the accessors built on them.
#include "ese/esedb_handles.h"

#include <vector>

namespace edb {

std::string EsedbError::Message() const {
  if (error_ == nullptr) return "";
  std::vector<char> text(2048, '\0');
  if (libesedb_error_sprint(error_, text.data(), text.size()) < 0) return "libesedb error";
  std::string message(text.data());
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  return message;
}

void EsedbError::Reset() {
  if (error_ != nullptr) libesedb_error_free(&error_);
  error_ = nullptr;
}

void internal::EsedbFileClose::operator()(libesedb_file_t* file) const {
  libesedb_file_close(file, nullptr);
  libesedb_file_free(&file, nullptr);
}

EsedbFile OpenEsedbFile(const std::string& path, EsedbError* error) {
  libesedb_file_t* raw = nullptr;
  if (libesedb_file_initialize(&raw, error->slot()) != 1) return nullptr;
  if (libesedb_file_open(raw, path.c_str(), libesedb_get_access_flags_read(), error->slot()) != 1) {
    libesedb_file_free(&raw, nullptr);
    return nullptr;
  }
  return EsedbFile(raw);
}

bool TableByIndex(libesedb_file_t* file, int index, EsedbTable* table, EsedbError* error) {
  libesedb_table_t* raw = nullptr;
  if (libesedb_file_get_table(file, index, &raw, error->slot()) != 1) return false;
  table->reset(raw);
  return true;
}

bool ColumnByIndex(libesedb_table_t* table, int index, EsedbColumn* column, EsedbError* error) {
  libesedb_column_t* raw = nullptr;
  if (libesedb_table_get_column(table, index, &raw, 0, error->slot()) != 1) return false;
  column->reset(raw);
  return true;
}

bool RecordByIndex(libesedb_table_t* table, int index, EsedbRecord* record, EsedbError* error) {
  libesedb_record_t* raw = nullptr;
  if (libesedb_table_get_record(table, index, &raw, error->slot()) != 1) return false;
  record->reset(raw);
  return true;
}

namespace {
// Reads a UTF-16 name through a size call and a fill call; the size counts
// the terminator, which is not kept.
template <typename SizeFn, typename NameFn>
bool ReadUtf16Name(SizeFn size_fn, NameFn name_fn, std::u16string* name) {
  size_t size = 0;
  if (size_fn(&size) != 1 || size == 0) return false;
  std::vector<uint16_t> units(size, 0);
  if (name_fn(units.data(), units.size()) != 1) return false;
  size_t length = 0;
  while (length < units.size() && units[length] != 0) ++length;
  name->assign(units.begin(), units.begin() + length);
  return true;
}
}  // namespace

bool TableName(libesedb_table_t* table, std::u16string* name, EsedbError* error) {
  return ReadUtf16Name(
      [&](size_t* size) { return libesedb_table_get_utf16_name_size(table, size, error->slot()); },
      [&](uint16_t* units, size_t size) { return libesedb_table_get_utf16_name(table, units, size, error->slot()); },
      name);
}

bool ColumnName(libesedb_column_t* column, std::u16string* name, EsedbError* error) {
  return ReadUtf16Name(
      [&](size_t* size) { return libesedb_column_get_utf16_name_size(column, size, error->slot()); },
      [&](uint16_t* units, size_t size) { return libesedb_column_get_utf16_name(column, units, size, error->slot()); },
      name);
}

bool RecordColumnName(libesedb_record_t* record, int value, std::u16string* name, EsedbError* error) {
  return ReadUtf16Name(
      [&](size_t* size) { return libesedb_record_get_utf16_column_name_size(record, value, size, error->slot()); },
      [&](uint16_t* units, size_t size) {
        return libesedb_record_get_utf16_column_name(record, value, units, size, error->slot());
      },
      name);
}

}  // namespace edb
