// Catalog records, encoded with the catalog's own column layout.
#include "ese/catalog.h"

#include <utility>

#include "ese/byte_order.h"
#include "ese/database_writer.h"
#include "ese/record_encoder.h"
#include "ese/tree_builder.h"

namespace esewriter {
namespace {

constexpr uint16_t kTypeTable = 1;
constexpr uint16_t kTypeColumn = 2;
constexpr uint16_t kTypeIndex = 3;
constexpr uint16_t kTypeLongValue = 4;

constexpr uint32_t kTableDensity = 80;  // percent, the engine's default
constexpr uint32_t kLongValueDensity = 100;
constexpr uint32_t kTableInitialPages = 4;
constexpr uint32_t kLongValueInitialPages = 1;
constexpr uint32_t kCatalogInitialPages = 20;
constexpr uint32_t kShadowInitialPages = 5;
constexpr uint32_t kSystemTableFlags = 0xc0000000u;
constexpr uint32_t kColumnNotNull = 0x0001;
constexpr uint32_t kColumnMultiValued = 0x0008;
constexpr uint32_t kColumnCompressed = 0x1000;
// The catalog's primary index over (ObjidTable, Type, Id), as the engine
// describes it.
constexpr uint32_t kCatalogIndexFlags = 0x00010031u;
constexpr uint32_t kCatalogIndexLcMapFlags = 0x00030401u;
constexpr uint32_t kEnglishUnitedStates = 1033;

struct CatalogColumnDef {
  const char* name;
  ColumnType type;
  Placement placement;
  bool not_null;
  uint32_t first_revision;  // the format revision that introduced the column
};

const CatalogColumnDef kCatalogColumns[] = {
    {"ObjidTable", ColumnType::kLong, Placement::kFixed, true, 0},
    {"Type", ColumnType::kShort, Placement::kFixed, true, 0},
    {"Id", ColumnType::kLong, Placement::kFixed, true, 0},
    {"ColtypOrPgnoFDP", ColumnType::kLong, Placement::kFixed, true, 0},
    {"SpaceUsage", ColumnType::kLong, Placement::kFixed, true, 0},
    {"Flags", ColumnType::kLong, Placement::kFixed, true, 0},
    {"PagesOrLocale", ColumnType::kLong, Placement::kFixed, true, 0},
    {"RootFlag", ColumnType::kBit, Placement::kFixed, false, 0},
    {"RecordOffset", ColumnType::kShort, Placement::kFixed, false, 0},
    {"LCMapFlags", ColumnType::kLong, Placement::kFixed, false, 0},
    {"KeyMost", ColumnType::kUnsignedShort, Placement::kFixed, false, 0x0c},
    {"Name", ColumnType::kText, Placement::kVariable, true, 0},
    {"Stats", ColumnType::kBinary, Placement::kVariable, false, 0},
    {"TemplateTable", ColumnType::kText, Placement::kVariable, false, 0},
    {"DefaultValue", ColumnType::kBinary, Placement::kVariable, false, 0},
    {"KeyFldIDs", ColumnType::kBinary, Placement::kVariable, false, 0},
    {"VarSegMac", ColumnType::kBinary, Placement::kVariable, false, 0},
    {"ConditionalColumns", ColumnType::kBinary, Placement::kVariable, false, 0},
    {"TupleLimits", ColumnType::kBinary, Placement::kVariable, false, 0},
    {"Version", ColumnType::kBinary, Placement::kVariable, false, 0x0c},
    {"CallbackData", ColumnType::kLongBinary, Placement::kTagged, false, 0},
    {"CallbackDependencies", ColumnType::kLongBinary, Placement::kTagged, false, 0},
};

// The catalog's columns in this format generation.
std::vector<CatalogColumnDef> CatalogColumns(uint32_t revision) {
  std::vector<CatalogColumnDef> columns;
  for (const CatalogColumnDef& column : kCatalogColumns) {
    if (revision >= column.first_revision) columns.push_back(column);
  }
  return columns;
}

TableSpec CatalogSpec(const std::vector<CatalogColumnDef>& columns) {
  TableSpec spec{"MSysObjects", {}};
  for (const CatalogColumnDef& column : columns) {
    ColumnSpec out;
    out.name = column.name;
    out.type = column.type;
    out.placement = column.placement;
    spec.columns.push_back(out);
  }
  return spec;
}

// Appends a key column in the engine's normalized form: a 0x7f marker, then
// the value big-endian with its sign bit flipped.
void AppendKeyLong(std::vector<uint8_t>* key, uint32_t value) {
  key->push_back(0x7f);
  AppendBe32(key, value ^ 0x80000000u);
}

void AppendKeyShort(std::vector<uint8_t>* key, uint16_t value) {
  key->push_back(0x7f);
  const uint16_t flipped = static_cast<uint16_t>(value ^ 0x8000u);
  key->push_back(static_cast<uint8_t>(flipped >> 8));
  key->push_back(static_cast<uint8_t>(flipped));
}

// Builds catalog records: values by catalog column name, then encoded.
class CatalogRecords {
 public:
  CatalogRecords(const EngineFormat& format)
      : columns_(CatalogColumns(format.revision)),
        spec_(CatalogSpec(columns_)),
        layout_(LayOutColumns(spec_, format.page_size)),
        encoder_(&layout_, format.page_size) {}

  const TableLayout& layout() const { return layout_; }
  const std::vector<CatalogColumnDef>& columns() const { return columns_; }

  void Begin(uint32_t objid, uint16_t type, uint32_t id) {
    record_.assign(layout_.columns.size(), Value::Null());
    key_.clear();
    AppendKeyLong(&key_, objid);
    AppendKeyShort(&key_, type);
    AppendKeyLong(&key_, id);
    Set("ObjidTable", Value::I32(static_cast<int32_t>(objid)));
    Set("Type", Value::I16(static_cast<int16_t>(type)));
    Set("Id", Value::I32(static_cast<int32_t>(id)));
  }

  void Set(const std::string& column, Value value) {
    for (size_t i = 0; i < layout_.columns.size(); ++i) {
      if (layout_.columns[i].name == column) {
        record_[i] = std::move(value);
        return;
      }
    }
    // Columns this generation lacks are left out.
  }
  void SetLong(const std::string& column, uint32_t value) { Set(column, Value::U32(value)); }

  // Encodes the record begun last and adds it to `out`.
  void End(std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>>* out) {
    std::vector<uint8_t> data;
    encoder_.Encode(record_, nullptr, &data);
    out->emplace_back(key_, std::move(data));
  }

 private:
  std::vector<CatalogColumnDef> columns_;
  TableSpec spec_;
  TableLayout layout_;
  RecordEncoder encoder_;
  Record record_;
  std::vector<uint8_t> key_;
};

using EncodedRecords = std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>>;

void AddTableRecord(CatalogRecords* records, uint32_t objid, uint32_t root_page, uint32_t flags, uint32_t initial_pages,
                    const std::string& name, EncodedRecords* out) {
  records->Begin(objid, kTypeTable, objid);
  records->SetLong("ColtypOrPgnoFDP", root_page);
  records->SetLong("SpaceUsage", kTableDensity);
  records->SetLong("Flags", flags);
  records->SetLong("PagesOrLocale", initial_pages);
  records->Set("RootFlag", Value::Bool(true));
  records->Set("Name", Value::Text1252(name));
  records->End(out);
}

void AddColumnRecord(CatalogRecords* records, uint32_t objid, const ColumnLayout& column, uint32_t flags,
                     uint32_t codepage, uint16_t record_offset, EncodedRecords* out) {
  records->Begin(objid, kTypeColumn, column.id);
  records->SetLong("ColtypOrPgnoFDP", static_cast<uint32_t>(column.type));
  records->SetLong("SpaceUsage", column.size);
  records->SetLong("Flags", flags);
  records->SetLong("PagesOrLocale", codepage);
  if (column.storage == Storage::kFixed) records->Set("RecordOffset", Value::I16(static_cast<int16_t>(record_offset)));
  records->Set("Name", Value::Text1252(column.name));
  records->End(out);
}

void AddCatalogDescription(CatalogRecords* records, uint32_t objid, uint32_t root_page, uint32_t initial_pages,
                           const std::string& name, EncodedRecords* out) {
  AddTableRecord(records, objid, root_page, kSystemTableFlags, initial_pages, name, out);
  const TableLayout& layout = records->layout();
  std::vector<size_t> by_id = layout.fixed;
  by_id.insert(by_id.end(), layout.variable.begin(), layout.variable.end());
  by_id.insert(by_id.end(), layout.tagged.begin(), layout.tagged.end());
  for (size_t index : by_id) {
    const uint32_t flags = records->columns()[index].not_null ? kColumnNotNull : 0;
    // The engine records every catalog column with code page 1252 and
    // record offset 4.
    AddColumnRecord(records, objid, layout.columns[index], flags, 1252, 4, out);
  }
  records->Begin(objid, kTypeIndex, objid);
  records->SetLong("ColtypOrPgnoFDP", root_page);
  records->SetLong("SpaceUsage", kTableDensity);
  records->SetLong("Flags", kCatalogIndexFlags);
  records->SetLong("PagesOrLocale", kEnglishUnitedStates);
  records->SetLong("LCMapFlags", kCatalogIndexLcMapFlags);
  records->Set("Name", Value::Text1252("Id"));
  std::vector<uint8_t> key_columns;
  for (uint16_t id : {1, 2, 3}) {
    AppendLe16(&key_columns, 0);
    AppendLe16(&key_columns, id);
  }
  records->Set("KeyFldIDs", Value::Bytes(std::move(key_columns)));
  records->End(out);
}

void AddUserTable(CatalogRecords* records, const CatalogTable& table, EncodedRecords* out) {
  AddTableRecord(records, table.objid, table.root_page, 0, kTableInitialPages, table.name, out);
  const TableLayout& layout = *table.layout;
  std::vector<size_t> by_id = layout.fixed;
  by_id.insert(by_id.end(), layout.variable.begin(), layout.variable.end());
  by_id.insert(by_id.end(), layout.tagged.begin(), layout.tagged.end());
  for (size_t index : by_id) {
    const ColumnLayout& column = layout.columns[index];
    uint32_t flags = column.multi_valued ? kColumnMultiValued : 0;
    if (table.compressed_columns[index]) flags |= kColumnCompressed;
    AddColumnRecord(records, table.objid, column, flags, column.codepage, column.record_offset, out);
  }
  if (table.long_value_objid != 0) {
    records->Begin(table.objid, kTypeLongValue, table.long_value_objid);
    records->SetLong("ColtypOrPgnoFDP", table.long_value_root_page);
    records->SetLong("SpaceUsage", kLongValueDensity);
    records->SetLong("Flags", 0);
    records->SetLong("PagesOrLocale", kLongValueInitialPages);
    records->Set("Name", Value::Text1252("LV"));
    records->End(out);
  }
}

void WriteTree(PageFile* file, PageAllocator* allocator, uint32_t objid, uint32_t root_page, uint32_t initial_pages,
               const EncodedRecords& records) {
  TreeIdentity identity;
  identity.objid = objid;
  identity.root_page = root_page;
  identity.parent_root_page = kDatabaseRootPage;
  identity.initial_pages = initial_pages;
  TreeBuilder tree(file, allocator, identity);
  for (const auto& [key, data] : records) tree.Append(Node{key, data});
  tree.Finish();
}

}  // namespace

void WriteCatalogs(PageFile* file, PageAllocator* allocator, const EngineFormat& format,
                   std::span<const CatalogTable> tables) {
  CatalogRecords records(format);
  EncodedRecords encoded;
  AddCatalogDescription(&records, kCatalogObjid, kCatalogRootPage, kCatalogInitialPages, "MSysObjects", &encoded);
  AddCatalogDescription(&records, kShadowCatalogObjid, kShadowCatalogRootPage, kShadowInitialPages, "MSysObjectsShadow",
                        &encoded);
  for (const CatalogTable& table : tables) AddUserTable(&records, table, &encoded);
  WriteTree(file, allocator, kCatalogObjid, kCatalogRootPage, kCatalogInitialPages, encoded);
  WriteTree(file, allocator, kShadowCatalogObjid, kShadowCatalogRootPage, kShadowInitialPages, encoded);
}

}  // namespace esewriter
