// The tables of the open database, in catalog order (the order in which
// libesedb enumerates them): each table's index and name. Built once per scan;
// tables are then found by name here rather than through libesedb's catalog.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace edb {

class CorruptionReporter;
struct StoreSession;

struct TableDirectoryEntry {
  // 0-based index in the catalog, as the database opens tables by.
  int32_t index = 0;
  // The table's name as the database gives it.
  std::u16string name;
};

class TableDirectory {
 public:
  // Adds an entry at the end.
  void Append(int32_t index, std::u16string name);
  // The first entry whose name equals `name` exactly (case-sensitive, whole
  // text), or null.
  const TableDirectoryEntry* Find(std::u16string_view name) const;
  void Clear();

  const std::vector<TableDirectoryEntry>& entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }
  size_t size() const { return entries_.size(); }

 private:
  std::vector<TableDirectoryEntry> entries_;
};

// How complete a directory built from the catalog is.
enum class DirectoryOutcome {
  kEveryTableListed,   // also when there is no database or no table
  kSomeTablesLeftOut,  // a table could not be fetched or named (reported)
};

// Fills the session's directory from its open database (appending to what is
// there). No open database, or a database without tables, gives an empty
// directory and kEveryTableListed. A table that cannot be fetched or named
// is reported to `corruption` and left out; the walk goes on with the next
// index and the result is kSomeTablesLeftOut.
DirectoryOutcome BuildTableDirectory(StoreSession& session, CorruptionReporter& corruption);

}  // namespace edb
