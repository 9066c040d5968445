// Reading the catalog: tables, their columns and their long-value trees.
#include "ese/ese_catalog.h"

#include <map>

#include "base/text_encoding.h"

namespace edb {
namespace {

constexpr uint32_t kCatalogRootPage = 4;
constexpr uint32_t kCatalogObjectId = 2;
constexpr uint16_t kRowTable = 1;
constexpr uint16_t kRowColumn = 2;
constexpr uint16_t kRowLongValue = 4;
constexpr int kMaxTemplateDepth = 4;

// Fixed columns of a catalog record: offsets from the record start.
constexpr size_t kObjidTableAt = 4;
constexpr size_t kTypeAt = 8;
constexpr size_t kIdAt = 10;
constexpr size_t kColtypOrPgnoAt = 14;
constexpr size_t kPagesOrLocaleAt = 26;
// Variable columns: Name is the first (id 128), TemplateTable the third.
constexpr size_t kNameColumn = 0;
constexpr size_t kTemplateColumn = 2;

// Collects catalog rows grouped by the table they describe, in key order.
class RowCollector : public TreeVisitor {
 public:
  void Leaf(const TreeLeafEntry& entry) override {
    CatalogRow row;
    std::string error;
    if (ParseCatalogRow(entry.data, &row, &error)) rows.push_back(std::move(row));
  }
  void Damage(const TreeDamage& damage) override { damage_list.push_back(damage); }

  std::vector<CatalogRow> rows;
  std::vector<TreeDamage> damage_list;
};

}  // namespace

bool ParseCatalogRow(std::span<const uint8_t> data, CatalogRow* row, std::string* error) {
  if (data.size() < 4) {
    *error = "catalog record too short";
    return false;
  }
  uint8_t last_fixed = data[0];
  uint8_t last_variable = data[1];
  size_t variable_at = LoadLe16(data.data() + 2);
  if (last_fixed < 4 || variable_at > data.size() || variable_at < kColtypOrPgnoAt + 4) {
    *error = "catalog record lacks its fixed columns";
    return false;
  }
  row->table_object_id = LoadLe32(data.data() + kObjidTableAt);
  row->type = LoadLe16(data.data() + kTypeAt);
  row->id = LoadLe32(data.data() + kIdAt);
  row->type_or_root_page = LoadLe32(data.data() + kColtypOrPgnoAt);
  row->code_page = 0;
  if (last_fixed >= 7 && variable_at >= kPagesOrLocaleAt + 4) row->code_page = LoadLe32(data.data() + kPagesOrLocaleAt);

  size_t count = last_variable >= 128 ? last_variable - 127u : 0u;
  if (count * 2 > data.size() - variable_at) {
    *error = "catalog record's variable columns run past it";
    return false;
  }
  size_t values_at = variable_at + count * 2;
  size_t previous_end = 0;
  for (size_t i = 0; i < count; ++i) {
    uint16_t word = LoadLe16(data.data() + variable_at + 2 * i);
    size_t end = word & 0x7fff;
    if ((word & 0x8000) != 0) {  // NULL: no bytes, the offset still counts
      previous_end = end;
      continue;
    }
    if (end < previous_end || end > data.size() - values_at) {
      *error = "catalog record's variable column runs past it";
      return false;
    }
    std::string value(reinterpret_cast<const char*>(data.data() + values_at + previous_end), end - previous_end);
    if (i == kNameColumn) row->name = std::move(value);
    if (i == kTemplateColumn) row->template_name = std::move(value);
    previous_end = end;
  }
  return true;
}

bool EseCatalog::Read(const EseFile& file, std::string* error) {
  RowCollector collector;
  WalkTree(file, TreeShape{kCatalogRootPage, kCatalogObjectId, 0}, &collector);
  damage_ = std::move(collector.damage_list);

  std::map<uint32_t, size_t> by_object;  // table object id -> index in tables_
  for (const CatalogRow& row : collector.rows) {
    if (row.type == kRowTable) {
      if (by_object.count(row.table_object_id) != 0) continue;
      CatalogTable table;
      table.name = Windows1252ToUtf16(row.name);
      table.object_id = row.table_object_id;
      table.root_page = row.type_or_root_page;
      table.template_name = Windows1252ToUtf16(row.template_name);
      by_object[row.table_object_id] = tables_.size();
      tables_.push_back(std::move(table));
      continue;
    }
    auto found = by_object.find(row.table_object_id);
    if (found == by_object.end()) continue;
    CatalogTable& table = tables_[found->second];
    if (row.type == kRowColumn) {
      table.columns.push_back(CatalogColumn{row.id, Windows1252ToUtf16(row.name), row.type_or_root_page, row.code_page});
    } else if (row.type == kRowLongValue && table.long_value_root_page == 0) {
      table.long_value_object_id = row.id;
      table.long_value_root_page = row.type_or_root_page;
    }
  }
  if (tables_.empty()) {
    *error = damage_.empty() ? "catalog holds no tables" : "catalog unreadable: " + damage_.front().reason;
    return false;
  }
  return true;
}

const CatalogTable* EseCatalog::FindTable(std::u16string_view name) const {
  for (const CatalogTable& table : tables_) {
    if (table.name == name) return &table;
  }
  return nullptr;
}

const CatalogColumn* EseCatalog::FindColumn(const CatalogTable& table, std::u16string_view name) const {
  const CatalogTable* current = &table;
  for (int depth = 0; current != nullptr && depth <= kMaxTemplateDepth; ++depth) {
    for (const CatalogColumn& column : current->columns) {
      if (column.name == name) return &column;
    }
    if (current->template_name.empty()) break;
    current = FindTable(current->template_name);
  }
  return nullptr;
}

}  // namespace edb
