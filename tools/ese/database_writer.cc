// The database writer: tables stream their record and long-value trees into
// the page file; Finish adds the catalogs, the database's own root and space
// pages and the file header.
#include "ese/database_writer.h"

#include <memory>
#include <set>
#include <stdexcept>

#include "ese/byte_order.h"
#include "ese/catalog.h"
#include "ese/column_layout.h"
#include "ese/engine_format.h"
#include "ese/file_header.h"
#include "ese/long_value_tree.h"
#include "ese/page_builder.h"
#include "ese/page_file.h"
#include "ese/record_encoder.h"
#include "ese/scratch_file.h"
#include "ese/tree_builder.h"

namespace esewriter {
namespace {

// One table being written. Records are keyed by a 4-byte big-endian sequence
// number from 1, as the engine keys tables without a primary index.
class TableState final : public TableWriter, private LongValueSink {
 public:
  TableState(PageFile* file, std::string name, TableLayout layout, uint32_t objid, uint32_t* next_objid)
      : file_(file),
        name_(std::move(name)),
        layout_(std::move(layout)),
        objid_(objid),
        next_objid_(next_objid),
        encoder_(&layout_, file->page_size()),
        records_(file, file, TableIdentity(file, objid)) {}

  void Append(const Record& record) override {
    if (finished_) throw std::logic_error("table \"" + name_ + "\" appended after Finish");
    if (last_key_ == 0xffffffffu) throw std::length_error("table \"" + name_ + "\" is full");
    encoder_.Encode(record, this, &encoded_);
    uint8_t key[4];
    StoreBe32(key, ++last_key_);
    records_.Append(Node{key, encoded_});
  }

  void Finish() {
    finished_ = true;
    records_.Finish();
    if (long_values_) long_values_->Finish();
  }

  CatalogTable Description() const {
    CatalogTable table;
    table.name = name_;
    table.objid = objid_;
    table.root_page = records_.root_page();
    table.layout = &layout_;
    table.compressed_columns = encoder_.compressed_columns();
    if (long_values_) {
      table.long_value_objid = long_values_->objid();
      table.long_value_root_page = long_values_->root_page();
    }
    return table;
  }

 private:
  static TreeIdentity TableIdentity(PageFile* file, uint32_t objid) {
    TreeIdentity identity;
    identity.objid = objid;
    identity.root_page = file->Allocate();
    identity.parent_root_page = kDatabaseRootPage;
    identity.initial_pages = 4;
    return identity;
  }

  // The long-value tree is created with the table's first separated value,
  // as the engine does.
  uint32_t StoreLongValue(std::span<const uint8_t> bytes) override {
    if (!long_values_) long_values_ = std::make_unique<LongValueTree>(file_, (*next_objid_)++, records_.root_page());
    return long_values_->StoreLongValue(bytes);
  }

  PageFile* file_;
  std::string name_;
  TableLayout layout_;
  uint32_t objid_;
  uint32_t* next_objid_;
  RecordEncoder encoder_;
  TreeBuilder records_;
  std::unique_ptr<LongValueTree> long_values_;
  std::vector<uint8_t> encoded_;
  uint32_t last_key_ = 0;
  bool finished_ = false;
};

std::vector<uint32_t> ReservedCatalogPages() {
  std::vector<uint32_t> pages;
  for (uint32_t page = kCatalogRootPage + 1; page < kShadowCatalogRootPage; ++page) pages.push_back(page);
  return pages;
}

void WriteSpacePage(PageFile* file, PageBuilder* page, uint32_t page_number) {
  PagePlacement placement;
  placement.page_number = page_number;
  placement.objid = kDatabaseObjid;
  placement.flags = kPageRoot | kPageLeaf | kPageSpaceTree;
  placement.database_time = file->NextDatabaseTime();
  file->WritePage(page_number, page->Seal(placement));
}

// Adds an extent of `count` pages ending at `last` to a space tree page.
void AddExtent(PageBuilder* page, uint32_t last, uint32_t count) {
  uint8_t key[4];
  StoreBe32(key, last);
  uint8_t data[4];
  StoreLe32(data, count);
  page->Add(Node{key, data});
}

// The database's own tree: an empty root whose space trees own every page
// and list the pages nobody uses as available.
void WriteDatabaseRoot(PageFile* file, std::span<const uint32_t> unused_pages) {
  const uint32_t last_page = file->last_page();
  PageBuilder page(file->page_size());
  const std::vector<uint8_t> space_header(kRootHeaderSize, 0);

  page.StartRoot(space_header);
  AddExtent(&page, last_page, last_page);
  WriteSpacePage(file, &page, kDatabaseOwnedSpacePage);

  page.StartRoot(space_header);
  for (size_t i = 0; i < unused_pages.size();) {
    size_t run = 1;
    while (i + run < unused_pages.size() && unused_pages[i + run] == unused_pages[i] + run) ++run;
    AddExtent(&page, unused_pages[i + run - 1], static_cast<uint32_t>(run));
    i += run;
  }
  WriteSpacePage(file, &page, kDatabaseAvailableSpacePage);

  std::vector<uint8_t> root_header(kRootHeaderSize, 0);
  StoreLe32(root_header.data(), last_page);                     // pages owned
  StoreLe32(root_header.data() + 8, 1);                         // several extents
  StoreLe32(root_header.data() + 12, kDatabaseOwnedSpacePage);  // its space trees
  page.StartRoot(root_header);
  PagePlacement placement;
  placement.page_number = kDatabaseRootPage;
  placement.objid = kDatabaseObjid;
  placement.flags = kPageRoot | kPageLeaf;
  placement.database_time = file->NextDatabaseTime();
  file->WritePage(kDatabaseRootPage, page.Seal(placement));
}

void CheckTableName(const std::string& name, const std::set<std::string>& taken) {
  if (name.empty() || name.size() > kLongestName) throw std::invalid_argument("bad table name \"" + name + "\"");
  if (name == "MSysObjects" || name == "MSysObjectsShadow" || taken.count(name) != 0) {
    throw std::invalid_argument("table name \"" + name + "\" already in use");
  }
}

}  // namespace

class DatabaseWriter::Impl {
 public:
  explicit Impl(const Options& options)
      : format_(FormatForPageSize(options.page_size)),
        scratch_(options.scratch_directory),
        file_(scratch_.path(), format_.page_size, kFirstFreePage) {}

  TableWriter& AddTable(TableSpec spec) {
    CheckUsable();
    CheckTableName(spec.name, names_);
    TableLayout layout = LayOutColumns(spec, format_.page_size);
    names_.insert(spec.name);
    const uint32_t objid = next_objid_++;
    tables_.push_back(std::make_unique<TableState>(&file_, spec.name, std::move(layout), objid, &next_objid_));
    return *tables_.back();
  }

  void Finish(const std::string& path) {
    CheckUsable();
    finished_ = true;
    std::vector<CatalogTable> catalog;
    for (const std::unique_ptr<TableState>& table : tables_) {
      table->Finish();
      catalog.push_back(table->Description());
    }
    PooledAllocator catalog_pages(ReservedCatalogPages(), &file_);
    WriteCatalogs(&file_, &catalog_pages, format_, catalog);
    WriteDatabaseRoot(&file_, catalog_pages.unused());
    FileHeaderFields header;
    header.format = format_;
    header.database_time = file_.database_time();
    header.last_object_id = next_objid_ - 1;
    file_.WriteHeader(BuildFileHeaderPage(header));
    file_.Close();
    scratch_.MoveTo(path);
  }

 private:
  void CheckUsable() const {
    if (finished_) throw std::logic_error("database writer used after Finish");
  }

  EngineFormat format_;
  ScratchFile scratch_;
  PageFile file_;
  std::vector<std::unique_ptr<TableState>> tables_;
  std::set<std::string> names_;
  uint32_t next_objid_ = kFirstUserObjid;
  bool finished_ = false;
};

DatabaseWriter::DatabaseWriter(Options options) : impl_(std::make_unique<Impl>(options)) {}
DatabaseWriter::~DatabaseWriter() = default;

TableWriter& DatabaseWriter::AddTable(TableSpec spec) { return impl_->AddTable(std::move(spec)); }

void DatabaseWriter::Finish(const std::string& path) { impl_->Finish(path); }

}  // namespace esewriter
