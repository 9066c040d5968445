// RAII ownership of libesedb handles. Every handle the store reader obtains
// from libesedb lives in one of these types, so it is freed on every path.
#pragma once

#include <libesedb.h>

#include <memory>
#include <string>

namespace edb {

// Owns the error object libesedb fills on failure. Pass `slot()` to a
// libesedb call; a previous error is freed first.
class EsedbError {
 public:
  EsedbError() = default;
  ~EsedbError() { Reset(); }
  EsedbError(const EsedbError&) = delete;
  EsedbError& operator=(const EsedbError&) = delete;

  libesedb_error_t** slot() {
    Reset();
    return &error_;
  }
  bool has_error() const { return error_ != nullptr; }
  // libesedb's own description of the last failure, or "" when none.
  std::string Message() const;
  void Reset();

 private:
  libesedb_error_t* error_ = nullptr;
};

namespace internal {
template <typename T, int (*Free)(T**, libesedb_error_t**)>
struct EsedbFree {
  void operator()(T* handle) const { Free(&handle, nullptr); }
};
struct EsedbFileClose {
  void operator()(libesedb_file_t* file) const;
};
}  // namespace internal

// A file object; the deleter closes it (when open) and frees it.
using EsedbFile = std::unique_ptr<libesedb_file_t, internal::EsedbFileClose>;
using EsedbTable = std::unique_ptr<libesedb_table_t, internal::EsedbFree<libesedb_table_t, libesedb_table_free>>;
using EsedbColumn = std::unique_ptr<libesedb_column_t, internal::EsedbFree<libesedb_column_t, libesedb_column_free>>;
using EsedbRecord = std::unique_ptr<libesedb_record_t, internal::EsedbFree<libesedb_record_t, libesedb_record_free>>;
using EsedbLongValue =
    std::unique_ptr<libesedb_long_value_t, internal::EsedbFree<libesedb_long_value_t, libesedb_long_value_free>>;
using EsedbMultiValue =
    std::unique_ptr<libesedb_multi_value_t, internal::EsedbFree<libesedb_multi_value_t, libesedb_multi_value_free>>;

// Opens `path` read-only. Returns null and fills `error` when the file cannot
// be opened as an ESE database.
EsedbFile OpenEsedbFile(const std::string& path, EsedbError* error);

// Small typed accessors over libesedb's out-parameter style. Each returns
// false on failure; none throws.
bool TableByIndex(libesedb_file_t* file, int index, EsedbTable* table, EsedbError* error);
bool ColumnByIndex(libesedb_table_t* table, int index, EsedbColumn* column, EsedbError* error);
bool RecordByIndex(libesedb_table_t* table, int index, EsedbRecord* record, EsedbError* error);
bool TableName(libesedb_table_t* table, std::u16string* name, EsedbError* error);
bool ColumnName(libesedb_column_t* column, std::u16string* name, EsedbError* error);
bool RecordColumnName(libesedb_record_t* record, int value, std::u16string* name, EsedbError* error);

}  // namespace edb
