// The database seam over our own page, tree, catalog and long-value readers.
#include "ese/native_database.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <span>
#include <string_view>
#include <vector>

#include "ese/data_tree_locator.h"
#include "ese/record_format.h"
#include "ese/stored_text.h"
#include "base/report_once.h"
#include "base/corruption_reporter.h"
#include "ese/ese_catalog.h"
#include "ese/ese_page.h"
#include "ese/ese_tree.h"
#include "ese/long_value_reader.h"
#include "base/text_encoding.h"

namespace edb::ese {
namespace {

constexpr uint32_t kCodePageWindows1252 = 1252;
constexpr int kMaxTemplateDepth = 4;

// The size a fixed column of `type` takes when the catalog does not say.
uint32_t FixedSizeOfType(uint32_t type) {
  switch (type) {
    case column_type::kBit:
    case column_type::kUnsignedByte:
      return 1;
    case column_type::kShort:
    case column_type::kUnsignedShort:
      return 2;
    case column_type::kLong:
    case column_type::kUnsignedLong:
    case column_type::kIeeeSingle:
      return 4;
    case column_type::kCurrency:
    case column_type::kIeeeDouble:
    case column_type::kDateTime:
    case column_type::kLongLong:
      return 8;
    case column_type::kGuid:
      return 16;
    default:
      return 0;
  }
}

bool IsTextType(uint32_t type) { return type == column_type::kText || type == column_type::kLongText; }

// What a table's records share: its columns and its long values.
struct TableFacts {
  std::u16string name;
  std::string name_utf8;
  std::vector<ColumnInfo> columns;
  std::vector<RecordColumn> record_columns;
  RecordLayout layout;
  std::shared_ptr<LongValueReader> long_values;
};

class NativeLongValue : public LongValue {
 public:
  NativeLongValue(std::shared_ptr<LongValueReader> reader, std::vector<LongValueChunk> chunks)
      : reader_(std::move(reader)), chunks_(std::move(chunks)) {}

  int segment_count() const override { return static_cast<int>(chunks_.size()); }

  Status ReadSegment(int index, std::vector<uint8_t>* data) override {
    if (index < 0 || index >= segment_count()) return Status::NotFound("no segment " + std::to_string(index));
    std::string error;
    if (!reader_->ReadChunk(chunks_[index], data, &error)) return Status::IoError(error);
    return Status::Ok();
  }

 private:
  std::shared_ptr<LongValueReader> reader_;
  std::vector<LongValueChunk> chunks_;
};

Result<std::unique_ptr<LongValue>> OpenLongValueWithKey(const TableFacts& table, std::span<const uint8_t> key) {
  if (key.size() != 4) return Status::Corruption("a long-value key of " + std::to_string(key.size()) + " bytes");
  uint32_t lid = LoadLe32(key.data());
  std::vector<LongValueChunk> chunks;
  std::string error;
  std::string reported_as;
  if (!table.long_values->Resolve(lid, &chunks, &error, &reported_as)) {
    return Status::Corruption(error).ReportedAs(reported_as);
  }
  return std::unique_ptr<LongValue>(std::make_unique<NativeLongValue>(table.long_values, std::move(chunks)));
}

class NativeMultiValue : public MultiValue {
 public:
  NativeMultiValue(std::vector<uint8_t> data, uint8_t flags, const ColumnInfo& column, std::vector<MemberSlice> members)
      : data_(std::move(data)), flags_(flags), column_(column), members_(std::move(members)) {}

  int count() const override { return static_cast<int>(members_.size()); }

  Status Member(int index, std::vector<uint8_t>* data) const override {
    if (index < 0 || index >= count()) return Status::NotFound("no member " + std::to_string(index));
    std::span<const uint8_t> bytes = Bytes(index);
    data->assign(bytes.begin(), bytes.end());
    return Status::Ok();
  }

  Result<std::u16string> MemberText(int index) const override {
    if (index < 0 || index >= count()) return Status::NotFound("no member " + std::to_string(index));
    if (!IsTextType(column_.type)) return Status::Unsupported("not a text column");
    if (members_[index].long_value) return Status::Unsupported("the member is kept in the long-value tree");
    // Only the first member of a multi-value flagged compressed is compressed.
    if ((flags_ & value_flag::kCompressed) != 0 && index == 0) return CompressedBytesToText(Bytes(index));
    return StoredBytesToText(Bytes(index), CodePage());
  }

  bool MemberIsLongValue(int index) const override {
    return index >= 0 && index < count() && members_[index].long_value;
  }

 private:
  std::span<const uint8_t> Bytes(int index) const {
    return std::span<const uint8_t>(data_).subspan(members_[index].offset, members_[index].size);
  }
  uint32_t CodePage() const { return column_.code_page == 0 ? kCodePageWindows1252 : column_.code_page; }

  std::vector<uint8_t> data_;
  uint8_t flags_;
  ColumnInfo column_;
  std::vector<MemberSlice> members_;
};

class NativeRecord : public Record {
 public:
  NativeRecord(std::shared_ptr<const TableFacts> table, std::vector<uint8_t> bytes, std::vector<ValueSlice> slices)
      : table_(std::move(table)), bytes_(std::move(bytes)), slices_(std::move(slices)) {}

  int value_count() const override { return static_cast<int>(slices_.size()); }

  Status ReadValue(int value, Value* out) const override {
    if (Status status = CheckIndex(value); !status.ok()) return status;
    out->column_type = table_->columns[value].type;
    out->flags = slices_[value].flags;
    std::span<const uint8_t> bytes = Bytes(value);
    out->data.assign(bytes.begin(), bytes.end());
    return Status::Ok();
  }

  Result<std::u16string> ValueText(int value) const override {
    if (Status status = CheckIndex(value); !status.ok()) return status;
    const ColumnInfo& column = table_->columns[value];
    if (!IsTextType(column.type)) return Status::Unsupported("not a text column");
    const ValueSlice& slice = slices_[value];
    if (slice.size == 0) return Status::NotFound("NULL");
    if ((slice.flags & value_flag::kMultiValue) != 0) return Status::Unsupported("a multi-value");
    if ((slice.flags & value_flag::kLongValue) != 0) return Status::Unsupported("a long value");
    if ((slice.flags & value_flag::kCompressed) != 0) return CompressedBytesToText(Bytes(value));
    return StoredBytesToText(Bytes(value), column.code_page == 0 ? kCodePageWindows1252 : column.code_page);
  }

  Result<std::unique_ptr<MultiValue>> OpenMultiValue(int value) const override {
    if (Status status = CheckIndex(value); !status.ok()) return status;
    const ValueSlice& slice = slices_[value];
    if ((slice.flags & value_flag::kMultiValue) == 0) return Status::NotFound("not a multi-value");
    std::vector<MemberSlice> members;
    if (Status status = SplitMultiValue(Bytes(value), slice.flags, &members); !status.ok()) return status;
    std::span<const uint8_t> bytes = Bytes(value);
    return std::unique_ptr<MultiValue>(std::make_unique<NativeMultiValue>(
        std::vector<uint8_t>(bytes.begin(), bytes.end()), slice.flags, table_->columns[value], std::move(members)));
  }

  Result<std::unique_ptr<LongValue>> OpenLongValue(int value) const override {
    if (Status status = CheckIndex(value); !status.ok()) return status;
    const ValueSlice& slice = slices_[value];
    if ((slice.flags & value_flag::kLongValue) == 0 || (slice.flags & value_flag::kMultiValue) != 0)
      return Status::NotFound("not a long value");
    return OpenLongValueWithKey(*table_, Bytes(value));
  }

 private:
  Status CheckIndex(int value) const {
    if (value < 0 || value >= value_count()) return Status::NotFound("no value " + std::to_string(value));
    return Status::Ok();
  }
  std::span<const uint8_t> Bytes(int value) const {
    return std::span<const uint8_t>(bytes_).subspan(slices_[value].offset, slices_[value].size);
  }

  std::shared_ptr<const TableFacts> table_;
  std::vector<uint8_t> bytes_;
  std::vector<ValueSlice> slices_;
};

// The data of a leaf node: past its key.
Result<std::span<const uint8_t>> NodeData(const PageView& page, int tag) {
  if (tag <= 0 || tag >= page.tag_count()) return Status::Corruption("the record's tag is gone from its page");
  std::span<const uint8_t> node = page.TagData(tag);
  size_t at = 0;
  if ((page.TagFlags(tag) & kTagFlagCommonKey) != 0) at += 2;
  if (node.size() < at + 2) return Status::Corruption("record node too short");
  size_t key_size = LoadLe16(node.data() + at);
  at += 2;
  if (key_size > node.size() - at) return Status::Corruption("record key runs past its node");
  return node.subspan(at + key_size);
}

class NativeTable : public Table {
 public:
  NativeTable(std::shared_ptr<const EseFile> file, std::shared_ptr<const TableFacts> facts, TreeShape shape,
              CorruptionReporter& reporter)
      : file_(std::move(file)), facts_(std::move(facts)), shape_(shape), reporter_(reporter) {}

  const std::u16string& name() const override { return facts_->name; }
  const std::vector<ColumnInfo>& columns() const override { return facts_->columns; }

  Result<int64_t> RecordCount() override { return Locator().record_count(); }

  Result<std::unique_ptr<Record>> ReadRecord(int64_t position) override {
    const DataTreeLocator& locator = Locator();
    if (position < 0 || position >= locator.record_count())
      return Status::NotFound("no record at position " + std::to_string(position));
    RecordLocation location = locator.At(position);
    if (Status status = LoadPage(location.page); !status.ok()) return Lost(position, status);
    Result<std::span<const uint8_t>> data = NodeData(page_, location.tag);
    if (!data.ok()) return Lost(position, data.status());
    std::vector<ValueSlice> slices;
    if (Status status = DecodeRecord(*data, facts_->record_columns, facts_->layout, &slices); !status.ok())
      return Lost(position, status);
    return std::unique_ptr<Record>(
        std::make_unique<NativeRecord>(facts_, std::vector<uint8_t>(data->begin(), data->end()), std::move(slices)));
  }

  Result<std::unique_ptr<LongValue>> OpenLongValue(std::span<const uint8_t> key) override {
    return OpenLongValueWithKey(*facts_, key);
  }

 private:
  const DataTreeLocator& Locator() {
    if (!locator_) locator_ = std::make_unique<DataTreeLocator>(*file_, shape_, facts_->name_utf8, reporter_);
    return *locator_;
  }

  Status LoadPage(uint32_t number) {
    if (number == page_number_) return Status::Ok();
    page_number_ = 0;
    std::string error;
    if (!file_->ReadPage(number, &page_bytes_, &error)) return Status::IoError(error);
    // The walk verified the checksum and reported a mismatch.
    if (!page_.ParseVerified(page_bytes_, file_->header(), &error)) return Status::Corruption(error);
    page_number_ = number;
    return Status::Ok();
  }

  // Reports a record that cannot be read, the first time it is asked for.
  // Either way the failure carries that report's `where`.
  Status Lost(int64_t position, const Status& status) {
    std::string where = "record " + std::to_string(position) + " of table " + facts_->name_utf8;
    if (reported_.insert(position).second) reporter_.Corruption(where, status.reason());
    return Status(status).ReportedAs(std::move(where));
  }

  std::shared_ptr<const EseFile> file_;
  std::shared_ptr<const TableFacts> facts_;
  TreeShape shape_;
  CorruptionReporter& reporter_;
  std::unique_ptr<DataTreeLocator> locator_;
  std::vector<uint8_t> page_bytes_;
  PageView page_;
  uint32_t page_number_ = 0;
  std::set<int64_t> reported_;
};

class NativeDatabase : public Database {
 public:
  // Tables opened again report damage already reported no more.
  NativeDatabase(std::shared_ptr<const EseFile> file, EseCatalog catalog, CorruptionReporter& reporter)
      : file_(std::move(file)), catalog_(std::move(catalog)), reporter_(reporter) {}

  std::string_view reader_name() const override { return "native"; }
  int table_count() const override { return static_cast<int>(catalog_.tables().size()); }

  Result<std::u16string> TableName(int index) override {
    if (index < 0 || index >= table_count()) return Status::NotFound("no table " + std::to_string(index));
    return catalog_.tables()[index].name;
  }

  Result<std::unique_ptr<Table>> OpenTable(int index) override {
    if (index < 0 || index >= table_count()) return Status::NotFound("no table " + std::to_string(index));
    const CatalogTable& table = catalog_.tables()[index];
    auto facts = std::make_shared<TableFacts>();
    facts->name = table.name;
    facts->name_utf8 = Utf16ToUtf8(table.name);
    if (Status status = AddColumns(table, facts.get()); !status.ok()) return status;
    uint32_t page_size = file_->page_size();
    facts->layout.large_pages = file_->header().format_revision >= 0x11 && page_size >= 16384;
    facts->long_values = std::make_shared<LongValueReader>(
        file_, facts->name_utf8,
        TreeShape{table.long_value_root_page, table.long_value_object_id, kPageFlagLongValue}, &reporter_);
    return std::unique_ptr<Table>(
        std::make_unique<NativeTable>(file_, std::move(facts), TreeShape{table.root_page, table.object_id, 0}, reporter_));
  }

 private:
  // The template's columns (and its template's), then the table's own.
  Status AddColumns(const CatalogTable& table, TableFacts* facts) const {
    std::vector<const CatalogTable*> chain{&table};
    while (!chain.back()->template_name.empty()) {
      if (static_cast<int>(chain.size()) > kMaxTemplateDepth) return Status::Corruption("templates nest too deep");
      const CatalogTable* base = catalog_.FindTable(chain.back()->template_name);
      if (base == nullptr)
        return Status::Corruption("template table " + Utf16ToUtf8(chain.back()->template_name) + " is missing");
      chain.push_back(base);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      for (const CatalogColumn& column : (*it)->columns) {
        facts->columns.push_back(ColumnInfo{column.id, column.name, column.type, column.code_page});
        uint32_t size = column.size != 0 ? column.size : FixedSizeOfType(column.type);
        facts->record_columns.push_back(RecordColumn{column.id, column.type, size});
      }
    }
    return Status::Ok();
  }

  std::shared_ptr<const EseFile> file_;
  EseCatalog catalog_;
  ReportOnce reporter_;
};

// Says why `path` cannot be read as a database file, before anything
// waits on it: missing, unreadable, not a regular file (a FIFO, a device).
Status CheckReadableFile(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return Status::IoError("cannot open " + path + ": " + std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return Status::IoError(path + " is not a regular file");
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Status::IoError("cannot open " + path + ": " + std::strerror(errno));
  ::close(fd);
  return Status::Ok();
}

void ReportCatalogDamage(const EseCatalog& catalog, CorruptionReporter& reporter) {
  for (const TreeDamage& damage : catalog.damage()) {
    reporter.Corruption("page " + std::to_string(damage.page) + " of the catalog",
                        damage.reason + "; the tables and columns it described are lost");
  }
  for (const TreeDamage& damage : catalog.recovered()) {
    reporter.Corruption("page " + std::to_string(damage.page) + " of the catalog",
                        damage.reason + "; its rows were taken from MSysObjectsShadow");
  }
}

}  // namespace

Result<std::unique_ptr<Database>> OpenNativeDatabase(const std::string& path, CorruptionReporter& corruption) {
  if (Status status = CheckReadableFile(path); !status.ok()) return status;
  std::string error;
  std::shared_ptr<const EseFile> file = EseFile::Open(path, &error);
  if (!file) {
    bool io = error.rfind("read failed", 0) == 0 || error.rfind("cannot", 0) == 0 ||
              error.find("not a regular file") != std::string::npos;
    return io ? Status::IoError(error) : Status::Corruption(path + ": " + error);
  }
  std::string why;
  if (!IsKnownPageLayout(file->header(), &why)) return Status::Unsupported(why);
  EseCatalog catalog;
  if (!catalog.Read(*file, &error)) return Status::Corruption(path + ": " + error);
  ReportCatalogDamage(catalog, corruption);
  return std::unique_ptr<Database>(std::make_unique<NativeDatabase>(std::move(file), std::move(catalog), corruption));
}

}  // namespace edb::ese
