// Writes the store tables record by record through the ESE writer.
#include "storegen/store_builder.h"

#include <filesystem>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "ese/database_writer.h"
#include "storegen/address_entry.h"
#include "storegen/identifiers.h"
#include "storegen/row_encoder.h"
#include "storegen/rtf_authoring.h"
#include "storegen/store_schema.h"
#include "storegen/text_codec.h"

namespace storegen {
namespace {

// Contents rows keep the start of the plain body only.
constexpr size_t kContentsBodyCharacters = 255;
// Binary "N67b3" holds at most 255 bytes: 31 identifiers.
constexpr size_t kMaxAttachmentsPerItem = 31;

const FileTime kStoreCreated = MakeFileTime(2003, 6, 2, 9, 30, 0);

std::string FirstCharacters(std::string_view utf8, size_t count) {
  const std::u32string code_points = DecodeUtf8(utf8);
  if (code_points.size() <= count) return std::string(utf8);
  // Re-encode the kept code points; cheaper than tracking byte offsets.
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    const char32_t cp = code_points[i];
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::string DisplayNames(const std::vector<Recipient>& recipients, RecipientType type) {
  std::string out;
  for (const Recipient& r : recipients) {
    if (r.type != type) continue;
    if (!out.empty()) out += "; ";
    out += r.entry.display_name.empty() ? r.entry.address : r.entry.display_name;
  }
  return out;
}

std::vector<uint8_t> HtmlBytes(const Body& body) {
  const std::string bytes =
      body.html_charset == HtmlCharset::kUtf8 ? *body.html : Utf8ToWindows1252Html(*body.html);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::vector<uint8_t> AttachmentIds(const Item& item) {
  std::vector<uint8_t> out;
  for (const Attachment& a : item.attachments) {
    if (!a.id) continue;
    const auto bytes = IdBytes(*a.id);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

std::optional<FileTime> ItemTime(const Item& item) {
  if (item.delivery_time) return item.delivery_time;
  if (item.submit_time) return item.submit_time;
  return item.creation_time;
}

uint32_t ItemFlags(const Item& item) {
  uint32_t flags = 0x01;  // read
  if (!item.attachments.empty()) flags |= 0x10;
  if (!item.submit_time) flags |= 0x08;  // unsent
  return flags;
}

std::string FileExtension(const std::string& file_name) {
  const size_t dot = file_name.find_last_of('.');
  const size_t separator = file_name.find_last_of("/\\");
  if (dot == std::string::npos || (separator != std::string::npos && separator > dot)) return {};
  return file_name.substr(dot);
}

// Text properties the contents tables repeat from the message table.
constexpr const char* kContentsTextProperties[] = {"S80fd", "S3a09", "S3a08", "S3a1c", "S3a15", "S81b0"};
constexpr const char* kContentsTimeProperties[] = {"T820d", "T820e"};

esewriter::Options WriterOptions(const BuildOptions& options) {
  esewriter::Options out;
  out.page_size = options.page_size;
  out.scratch_directory = options.scratch_directory;
  return out;
}

}  // namespace

class StoreBuilder::Impl {
 public:
  explicit Impl(const BuildOptions& options)
      : db_(WriterOptions(options)),
        mailbox_layout_(MailboxTableSpec()),
        folders_layout_(FoldersTableSpec()),
        message_layout_(MessageTableSpec(options.plain_body_code_page)),
        attachment_layout_(AttachmentTableSpec()),
        mailboxes_(db_.AddTable(mailbox_layout_.spec())),
        folders_(db_.AddTable(folders_layout_.spec())),
        messages_(db_.AddTable(message_layout_.spec())),
        attachments_(db_.AddTable(attachment_layout_.spec())),
        table_names_{"Mailbox", "Folders", "Msg", "1-23"} {}

  void AddMailbox(const Mailbox& mailbox) {
    RowEncoder row(mailbox_layout_);
    ++mailbox_count_;
    std::vector<uint8_t> guid;
    for (uint64_t half : {uint64_t{mailbox.key}, uint64_t{~mailbox.key * 0x9E3779B97F4A7C15ull}}) {
      const auto bytes = IdBytes(half);
      guid.insert(guid.end(), bytes.begin(), bytes.end());
    }
    row.SetBytes("N6602", std::move(guid));
    row.SetNumber32("L6603", mailbox_count_);
    row.SetTime("T3007", FileTime{kStoreCreated.ticks + mailbox_count_ * 864'000'000'000ull});
    row.SetTime("T3008", FileTime{kStoreCreated.ticks + (400 + mailbox_count_) * 864'000'000'000ull});
    if (!mailbox.legacy_dn.empty()) row.SetText("S6606", mailbox.legacy_dn);
    row.SetId("Q6764", mailbox.key);
    if (mailbox.display_name) row.SetText("S3001", *mailbox.display_name);
    mailboxes_.Append(row.Take());
  }

  void AddFolder(Id mailbox_key, const Folder& folder) {
    const std::string table_name = ContentsTableName(IdText(folder.id));
    const std::string what = "folder " + IdText(folder.id);
    if (folders_by_id_.count(folder.id)) throw std::invalid_argument(what + ": identifier repeats");
    if (table_name.size() <= 2 || !table_names_.insert(table_name).second) {
      throw std::invalid_argument(what + ": its contents table name \"" + table_name + "\" is taken or empty");
    }
    RowEncoder row(folders_layout_);
    row.SetBit("B360a", !folder.parent_id);
    row.SetId("Q6748", folder.id);
    if (folder.parent_id) row.SetId("Q6749", *folder.parent_id);
    row.SetId("Q6764", mailbox_key);
    if (!folder.items.empty()) {
      row.SetNumber32("L3602", static_cast<uint32_t>(folder.items.size()));
      row.SetNumber32("L3603", 0);
    }
    row.SetTime("T3007", kStoreCreated);
    row.SetTime("T3008", FileTime{kStoreCreated.ticks + 864'000'000'000ull});
    if (folder.container_class) row.SetText("S3613", *folder.container_class);
    row.SetNumber32("L6635", folder.parent_id ? 1 : 0);
    if (folder.display_name) row.SetText("S3001", *folder.display_name);
    folders_.Append(row.Take());

    auto layout = std::make_unique<TableLayout>(ContentsTableSpec(table_name, folder.layout));
    esewriter::TableWriter& table = db_.AddTable(layout->spec());
    folders_by_id_.emplace(folder.id, FolderState{&table, std::move(layout), folder.layout});
  }

  void AddItem(Id folder_id, const Item& item) {
    const auto folder = folders_by_id_.find(folder_id);
    const std::string what = "item " + IdText(item.key);
    if (folder == folders_by_id_.end()) {
      throw std::invalid_argument(what + ": no folder " + IdText(folder_id));
    }
    if (!item_keys_.insert(item.key).second) throw std::invalid_argument(what + ": key repeats");
    if (item.attachments.size() > kMaxAttachmentsPerItem) {
      throw std::invalid_argument(what + ": more than 31 attachments");
    }
    if (item.contents_blob && folder->second.kind != ContentsLayout::kWide) {
      throw std::invalid_argument(what + ": a contents blob needs a folder with the wide layout");
    }
    try {
      messages_.Append(MessageRecord(folder_id, item));
      folder->second.table->Append(ContentsRecord(folder->second, item));
      for (size_t i = 0; i < item.attachments.size(); ++i) {
        attachments_.Append(AttachmentRecord(item.attachments[i], static_cast<uint32_t>(i), ItemTime(item)));
      }
    } catch (const std::invalid_argument& e) {
      throw std::invalid_argument(what + ": " + e.what());
    }
  }

  void AddLooseAttachment(const Attachment& attachment) {
    attachments_.Append(AttachmentRecord(attachment, 0, std::nullopt));
  }

  void Finish(const std::string& path) { db_.Finish(path); }

 private:
  struct FolderState {
    esewriter::TableWriter* table;
    std::unique_ptr<TableLayout> layout;
    ContentsLayout kind;
  };

  static uint32_t ItemSize(const Item& item) {
    size_t size = 200 + item.subject.size();
    if (item.body.plain) size += item.body.plain->size();
    if (item.body.html) size += item.body.html->size();
    size += item.body.rtf_source.size() / 2;
    for (const Attachment& a : item.attachments) size += a.data.size();
    return static_cast<uint32_t>(size);
  }

  esewriter::Record MessageRecord(Id folder_id, const Item& item) {
    RowEncoder row(message_layout_);
    row.SetBit("Be1b", !item.attachments.empty());
    row.SetBit("Be1f", item.body.rtf_kind != RtfKind::kNone);
    row.SetNumber32("Le07", ItemFlags(item));
    if (const auto created = item.creation_time ? item.creation_time : ItemTime(item)) row.SetTime("T3007", *created);
    row.SetId("N67b0", item.key);
    row.SetId("Q6748", folder_id);
    if (item.message_class) row.SetText("S1a", *item.message_class);
    if (std::vector<uint8_t> ids = AttachmentIds(item); !ids.empty()) row.SetBytes("N67b3", std::move(ids));
    if (item.submit_time) row.SetTime("T39", *item.submit_time);
    if (item.delivery_time) row.SetTime("Te06", *item.delivery_time);
    if (const auto modified = ItemTime(item)) row.SetTime("T3008", *modified);
    row.SetNumber32("Le08", ItemSize(item));
    if (item.sender) row.SetBytes("N67be", OneOffEntry(*item.sender));
    if (!item.subject_prefix.empty()) row.SetText("S3d", item.subject_prefix);
    if (!item.subject.empty()) row.SetText("Se1d", item.subject);
    if (item.sender_name) row.SetText("S42", *item.sender_name);
    if (const std::string to = DisplayNames(item.recipients, RecipientType::kTo); !to.empty()) row.SetText("Se04", to);
    if (item.recipient_text) row.SetText("S8299", *item.recipient_text);
    if (!item.recipients.empty()) row.SetBytes("N67b4", RecipientList(item.recipients));
    if (item.body.plain) row.SetText("S1000", *item.body.plain);
    if (item.body.rtf_kind != RtfKind::kNone) row.SetBytes("N1009", RtfColumnBytes(item.body));
    if (item.body.html) row.SetBytes("N1013", HtmlBytes(item.body));
    for (const auto& [column, text] : item.text_properties) row.SetText(column, text);
    for (const auto& [column, time] : item.time_properties) row.SetTime(column, time);
    return row.Take();
  }

  static esewriter::Record ContentsRecord(const FolderState& folder, const Item& item) {
    RowEncoder row(*folder.layout);
    row.SetBit("Be1b", !item.attachments.empty());
    row.SetId("N67b0", item.key);
    if (item.message_class) row.SetText("S1a", *item.message_class);
    if (item.submit_time) row.SetTime("T39", *item.submit_time);
    if (item.delivery_time) row.SetTime("Te06", *item.delivery_time);
    row.SetNumber32("Le08", ItemSize(item));
    if (item.sender) row.SetBytes("N67be", OneOffEntry(*item.sender));
    row.SetNumber32("Le07", ItemFlags(item));
    if (!item.subject_prefix.empty()) row.SetText("S3d", item.subject_prefix);
    if (!item.subject.empty()) row.SetText("Se1d", item.subject);
    if (item.sender_name) row.SetText("S42", *item.sender_name);
    if (item.body.plain) row.SetText("S1000", FirstCharacters(*item.body.plain, kContentsBodyCharacters));
    for (const char* column : kContentsTextProperties) {
      if (const auto it = item.text_properties.find(column); it != item.text_properties.end()) {
        row.SetText(column, it->second);
      }
    }
    for (const char* column : kContentsTimeProperties) {
      if (const auto it = item.time_properties.find(column); it != item.time_properties.end()) {
        row.SetTime(column, it->second);
      }
    }
    if (const std::string to = DisplayNames(item.recipients, RecipientType::kTo); !to.empty()) row.SetText("Se04", to);
    if (folder.kind == ContentsLayout::kWide) AddWideColumns(item, &row);
    return row.Take();
  }

  static void AddWideColumns(const Item& item, RowEncoder* row) {
    if (!item.subject.empty()) row->SetText("S70", item.subject);
    row->SetNumber32("L17", 1);  // normal importance
    if (const auto modified = ItemTime(item)) row->SetTime("T3008", *modified);
    if (const std::string cc = DisplayNames(item.recipients, RecipientType::kCc); !cc.empty()) row->SetText("Se03", cc);
    std::vector<uint8_t> record_key;
    for (uint64_t half : {uint64_t{item.key}, uint64_t{item.key ^ 0xA5A5A5A5A5A5A5A5ull}}) {
      const auto bytes = IdBytes(half);
      record_key.insert(record_key.end(), bytes.begin(), bytes.end());
    }
    row->SetBytes("Nff9", std::move(record_key));
    if (item.contents_blob) {
      row->SetBytes("N7c06", item.contents_blob->data);
      row->SetNumber32("L7c07", static_cast<uint32_t>(item.contents_blob->data.size()));
      if (item.submit_time) row->SetTime("T7c08", *item.submit_time);
      if (item.contents_blob->name) row->SetText("S7c09", *item.contents_blob->name);
    }
  }

  esewriter::Record AttachmentRecord(const Attachment& attachment, uint32_t number, std::optional<FileTime> time) {
    if (attachment.id && !attachment_ids_.insert(*attachment.id).second) {
      throw std::invalid_argument("attachment " + IdText(*attachment.id) + ": identifier repeats");
    }
    RowEncoder row(attachment_layout_);
    if (attachment.id) row.SetId("Q3f88", *attachment.id);
    row.SetNumber32("Le21", number);
    row.SetNumber32("Le20", static_cast<uint32_t>(attachment.data.size()));
    row.SetTime("T3007", time.value_or(kStoreCreated));
    row.SetNumber32("L3705", 1);  // attached by value
    if (attachment.display_name) row.SetText("S3001", *attachment.display_name);
    if (attachment.file_name) {
      row.SetText("S3704", *attachment.file_name);
      row.SetText("S3707", *attachment.file_name);
      if (const std::string extension = FileExtension(*attachment.file_name); !extension.empty()) {
        row.SetText("S3703", extension);
      }
    }
    if (!attachment.mime_type.empty()) row.SetText("S370e", attachment.mime_type);
    if (!attachment.data.empty()) row.SetBytes("N3701", attachment.data);
    return row.Take();
  }

  esewriter::DatabaseWriter db_;
  TableLayout mailbox_layout_;
  TableLayout folders_layout_;
  TableLayout message_layout_;
  TableLayout attachment_layout_;
  esewriter::TableWriter& mailboxes_;
  esewriter::TableWriter& folders_;
  esewriter::TableWriter& messages_;
  esewriter::TableWriter& attachments_;
  std::unordered_set<std::string> table_names_;
  std::unordered_map<Id, FolderState> folders_by_id_;
  std::unordered_set<Id> item_keys_;
  std::unordered_set<Id> attachment_ids_;
  uint32_t mailbox_count_ = 0;
};

StoreBuilder::StoreBuilder(const BuildOptions& options) {
  if (options.page_size != 4096 && options.page_size != 8192) {
    throw std::invalid_argument("page size must be 4096 or 8192");
  }
  if (options.plain_body_code_page != 1200 && options.plain_body_code_page != 1252) {
    throw std::invalid_argument("plain body code page must be 1200 or 1252");
  }
  impl_ = std::make_unique<Impl>(options);
}

StoreBuilder::~StoreBuilder() = default;

void StoreBuilder::AddMailbox(const Mailbox& mailbox) { impl_->AddMailbox(mailbox); }
void StoreBuilder::AddFolder(Id mailbox_key, const Folder& folder) { impl_->AddFolder(mailbox_key, folder); }
void StoreBuilder::AddItem(Id folder_id, const Item& item) { impl_->AddItem(folder_id, item); }
void StoreBuilder::AddLooseAttachment(const Attachment& attachment) { impl_->AddLooseAttachment(attachment); }
void StoreBuilder::Finish(const std::string& path) { impl_->Finish(path); }

std::string ScratchDirectoryFor(const std::string& path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  return parent.empty() ? "." : parent.string();
}

void EmitStore(const StoreDescription& store, StoreSink* sink) {
  for (const Mailbox& mailbox : store.mailboxes) sink->AddMailbox(mailbox);
  for (const Mailbox& mailbox : store.mailboxes) {
    for (const Folder& folder : mailbox.folders) sink->AddFolder(mailbox.key, folder);
  }
  for (const Mailbox& mailbox : store.mailboxes) {
    for (const Folder& folder : mailbox.folders) {
      for (const Item& item : folder.items) sink->AddItem(folder.id, item);
    }
  }
  for (const Attachment& attachment : store.loose_attachments) sink->AddLooseAttachment(attachment);
}

void BuildStore(const StoreDescription& store, uint32_t page_size, const std::string& path) {
  BuildOptions options;
  options.page_size = page_size;
  options.plain_body_code_page = store.plain_body_code_page;
  options.scratch_directory = ScratchDirectoryFor(path);
  StoreBuilder builder(options);
  EmitStore(store, &builder);
  builder.Finish(path);
}

}  // namespace storegen
