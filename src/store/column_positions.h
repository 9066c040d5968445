// The positions of the columns a table's record handler reads, found by name
// in the table's column list before its first record is handled. Positions
// are the 0-based value positions of the table's records;
// a column the table does not have stays unset (the handler then reads no
// value for it), except for the Mailbox table's two defaults.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "ese/database.h"

namespace edb {

struct ColumnPositions {
  // Defaults used when a Mailbox table lacks "Q6764" or "S3001".
  static constexpr int32_t kMailboxKeyDefault = 20;
  static constexpr int32_t kMailboxDisplayNameDefault = 29;

  // Mailbox and Folders: "Q6764".
  std::optional<int32_t> mailbox_key;
  // Mailbox, Folders and 1-23: "S3001".
  std::optional<int32_t> display_name;
  // Folders: "Q6748".
  std::optional<int32_t> folder_id;
  // Folders: "S3613".
  std::optional<int32_t> container_class;
  // Msg: "N67b0".
  std::optional<int32_t> message_key;
  // Msg: "N67b3", the item's attachment identifiers.
  std::optional<int32_t> attachment_ids;
  // 1-23: "Q3f88".
  std::optional<int32_t> attachment_key;
  // 1-23: "N3701".
  std::optional<int32_t> attachment_data;
  // 1-23: "S3704".
  std::optional<int32_t> attachment_file_name;
};

// Which column list applies to a table, by the beginning of its name:
// "Mailbox", "Folders", "Msg" or "1-23" (so "1-23x" takes the attachment
// columns too); kNone for every other table.
enum class ColumnSet { kNone, kMailbox, kFolders, kMsg, kAttachments };
ColumnSet ColumnSetForTable(std::u16string_view table_name);

// The positions for table `table_name` before any column is looked at: the
// Mailbox defaults for a Mailbox table, unset otherwise.
ColumnPositions InitialColumnPositions(ColumnSet set);

// Compares every column name of `columns` (a table's column list, exactly,
// case-sensitively) with the names of `set` and records the positions of the
// matches in `positions` (the last of equal names wins). A column the
// database could not name (reported where it was read) is skipped.
enum class ColumnNaming {
  kAllNamed,    // every column of the list has a name
  kSomeUnnamed,  // some column has none; the others were still compared
};
ColumnNaming LocateColumns(const std::vector<ese::ColumnInfo>& columns, ColumnSet set, ColumnPositions* positions);

}  // namespace edb
