// What the store reader's own readers need of a database's catalog
// (MSysObjects): each table's object id, its long-value tree and its
// template, and each column's identifier, type and code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ese/ese_page.h"
#include "ese/ese_tree.h"

namespace edb {

struct CatalogColumn {
  uint32_t id = 0;
  std::u16string name;
  uint32_t type = 0;       // column type as libesedb numbers it (12: long text)
  uint32_t code_page = 0;  // 1200 UTF-16, 1252 Windows-1252, 0 not recorded
};

struct CatalogTable {
  std::u16string name;
  uint32_t object_id = 0;
  uint32_t root_page = 0;
  // The table's long-value tree; 0 when the catalog names none.
  uint32_t long_value_object_id = 0;
  uint32_t long_value_root_page = 0;
  // The table it takes its leading columns from; empty when none.
  std::u16string template_name;
  std::vector<CatalogColumn> columns;
};

class EseCatalog {
 public:
  // Reads the catalog of `file` (its tree at page 4, object 2). Rows the
  // walk cannot reach are lost and described in damage(); false, with
  // `error` set, only when no table at all could be read.
  bool Read(const EseFile& file, std::string* error);

  // The table named exactly `name`, or null.
  const CatalogTable* FindTable(std::u16string_view name) const;
  // The column named exactly `name` of `table`, looked up in the table's
  // own columns and then in its template's; null when neither has it.
  const CatalogColumn* FindColumn(const CatalogTable& table, std::u16string_view name) const;

  const std::vector<CatalogTable>& tables() const { return tables_; }
  const std::vector<TreeDamage>& damage() const { return damage_; }

 private:
  std::vector<CatalogTable> tables_;
  std::vector<TreeDamage> damage_;
};

// One catalog row, as far as the readers need it.
struct CatalogRow {
  uint32_t table_object_id = 0;
  uint16_t type = 0;  // 1 table, 2 column, 3 index, 4 long value
  uint32_t id = 0;
  uint32_t type_or_root_page = 0;
  uint32_t code_page = 0;
  std::string name;           // Windows-1252 bytes
  std::string template_name;  // Windows-1252 bytes
};

// Decodes the record `data` of a catalog leaf entry. False, with `error`
// set, when the record is too short or its variable columns run past it.
bool ParseCatalogRow(std::span<const uint8_t> data, CatalogRow* row, std::string* error);

}  // namespace edb
