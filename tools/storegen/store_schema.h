// The tables of an Exchange store as the test stores lay them out: names,
// column order and types of "Mailbox", "Folders", "Msg", "1-23" and the
// per-folder contents tables.
//
// Column order follows the engine's own order of enumeration (fixed, then
// variable, then tagged columns), so the position of a column here is the
// position readers see. The store's readers read 8-byte times ("T…") and
// 4-byte numbers ("L…") of a row little-endian until the first binary key
// column ("Q…", "N67b0", "Q3f88") and big-endian from there on; each table
// below has its keys early, and the contents layouts put the dates on both
// sides of the key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ese/database_writer.h"
#include "storegen/store_description.h"

namespace storegen {

// Value positions of the wide contents layout read together by the store
// reader: the data at 39, named by the text at 42.
inline constexpr int kContentsBlobPosition = 39;
inline constexpr int kContentsBlobNamePosition = 42;

esewriter::TableSpec MailboxTableSpec();
esewriter::TableSpec FoldersTableSpec();
// `plain_body_code_page` is the code page of "S1000" (1200 or 1252).
esewriter::TableSpec MessageTableSpec(uint32_t plain_body_code_page);
esewriter::TableSpec AttachmentTableSpec();
esewriter::TableSpec ContentsTableSpec(std::string name, ContentsLayout layout);

// A table spec with its columns indexed by name, and for each column the
// byte order the store's readers apply to it.
class TableLayout {
 public:
  // Throws std::logic_error when the columns are not in the engine's order
  // of enumeration or a name repeats.
  explicit TableLayout(esewriter::TableSpec spec);

  const esewriter::TableSpec& spec() const { return spec_; }
  size_t size() const { return spec_.columns.size(); }
  // Position of `name`; throws std::invalid_argument naming table and column
  // when the table has no such column.
  size_t Position(std::string_view name) const;
  bool Has(std::string_view name) const { return index_.count(std::string(name)) != 0; }
  // True when readers take times and numbers at `position` big-endian.
  bool BigEndianAt(size_t position) const { return big_endian_[position]; }

 private:
  esewriter::TableSpec spec_;
  std::unordered_map<std::string, size_t> index_;
  std::vector<bool> big_endian_;
};

// True for the columns after which readers switch a row to big-endian:
// binary or long binary columns named "Q…", "N67b0…" or "Q3f88…" (names of 1
// to 6 characters).
bool SwitchesToBigEndian(const esewriter::ColumnSpec& column);

}  // namespace storegen
