// The catalog (MSysObjects, root page 4) and its shadow copy
// (MSysObjectsShadow, root page 24): one record per table, column, index and
// long-value tree, keyed by (table objid, record type, id). Both catalogs
// describe themselves first, as the engine's do; the columns of the catalog
// follow the engine generation of the format (KeyMost and Version exist from
// revision 0x0c on).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ese/column_layout.h"
#include "ese/engine_format.h"
#include "ese/page_file.h"

namespace esewriter {

struct CatalogTable {
  std::string name;
  uint32_t objid = 0;
  uint32_t root_page = 0;
  const TableLayout* layout = nullptr;
  std::vector<bool> compressed_columns;  // per column of layout: some value was stored compressed
  uint32_t long_value_objid = 0;         // 0: the table has no long-value tree
  uint32_t long_value_root_page = 0;
};

// Writes both catalogs describing the system tables and `tables` (in objid
// order). Pages besides the two roots come from `allocator`.
void WriteCatalogs(PageFile* file, PageAllocator* allocator, const EngineFormat& format,
                   std::span<const CatalogTable> tables);

}  // namespace esewriter
