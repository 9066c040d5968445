// Loading the content of the open folder's items from the Msg table.
#include "store/folder_item_loader.h"

#include <string>
#include <string_view>
#include <unordered_map>

#include "store/item_family.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

constexpr std::u16string_view kMessageTable = u"Msg";

// Hands every record to the context's own handlers, except the records
// fetched for their content, which go to the item-content reader.
class ItemContentRouting : public RecordHandlers {
 public:
  ItemContentRouting(RecordHandlers& inner, ItemContentReader& reader) : inner_(inner), reader_(reader) {}

  RecordOutcome Mailbox(const RecordRef& r, const ColumnPositions& c, StoreEvents& e) override {
    return inner_.Mailbox(r, c, e);
  }
  RecordOutcome Folder(const RecordRef& r, const ColumnPositions& c, StoreEvents& e) override {
    return inner_.Folder(r, c, e);
  }
  RecordOutcome MessageIndex(const RecordRef& r, const ColumnPositions& c, int32_t i, StoreEvents& e) override {
    return inner_.MessageIndex(r, c, i, e);
  }
  RecordOutcome Attachment(const RecordRef& r, const ColumnPositions& c, int32_t i, StoreEvents& e) override {
    return inner_.Attachment(r, c, i, e);
  }
  RecordOutcome ContentsRow(const RecordRef& r, const ColumnPositions& c, int32_t i, StoreEvents& e) override {
    return inner_.ContentsRow(r, c, i, e);
  }
  RecordOutcome ItemContent(const RecordRef& r, StoreEvents& e) override { return reader_.ReadItem(r, e); }

 private:
  RecordHandlers& inner_;
  ItemContentReader& reader_;
};

// The positions in the message index of the records of each key of the
// folder's headers, in index order.
using RecordsByKey = std::unordered_map<std::u16string_view, std::vector<size_t>>;

template <typename Header>
RecordsByKey JoinByKey(const std::vector<Header>& headers, const std::vector<MsgIndexEntry>& index) {
  RecordsByKey records;
  for (const Header& header : headers) {
    if (header.key) records.try_emplace(*header.key);
  }
  if (records.empty()) return records;
  for (size_t i = 0; i < index.size(); ++i) {
    if (!index[i].key) continue;
    auto it = records.find(*index[i].key);
    if (it != records.end()) it->second.push_back(i);
  }
  return records;
}

const std::vector<size_t>* RecordsOf(const RecordsByKey& records, const std::optional<std::u16string>& key) {
  if (!key) return nullptr;
  auto it = records.find(*key);
  return it == records.end() ? nullptr : &it->second;
}

// One folder's load: the Msg table, the routing context and, in save mode,
// the writer.
class FolderLoad {
 public:
  FolderLoad(ReadContext& context, ItemContentReader& reader, FolderContents& contents, ItemWriter* writer,
             const OpenedTable& table)
      : session_(context.session),
        events_(context.events),
        routing_(context.handlers, reader),
        reading_(ReadContext{context.session, context.events, routing_, context.corruption, context.gate}),
        reader_(reader),
        contents_(contents),
        writer_(writer),
        table_(table) {}

  LoadOutcome LoadMail() {
    reader_.set_family(ItemFamily::kMail);
    const RecordsByKey records = JoinByKey(session_.mail_rows, session_.message_index);
    events_.Progress(0);
    int counter = 0;
    for (const MessageEntry& header : session_.mail_rows) {
      reader_.SetCurrentRow(header.sender, header.subject, header.date);
      const std::vector<size_t>* positions = RecordsOf(records, header.key);
      if (positions == nullptr) continue;
      for (size_t position : *positions) {
        events_.Progress(counter + 1);
        if (!ReadAndHandleRecord(session_.message_index[position])) return LoadOutcome::kCancelled;
        if (counter == 99) {
          events_.Progress(0);
          counter = 0;
        } else {
          ++counter;
        }
      }
    }
    if (writer_ != nullptr) session_.mail_rows.clear();
    events_.Progress(0);
    return LoadOutcome::kLoaded;
  }

  LoadOutcome LoadContacts() {
    reader_.set_family(ItemFamily::kContact);
    const RecordsByKey records = JoinByKey(session_.contacts, session_.message_index);
    for (const ContactEntry& header : session_.contacts) {
      const std::vector<size_t>* positions = RecordsOf(records, header.key);
      if (positions == nullptr) continue;
      for (size_t position : *positions) {
        if (!ReadAndHandleRecord(session_.message_index[position])) return LoadOutcome::kCancelled;
      }
    }
    return LoadOutcome::kLoaded;
  }

 private:
  // Reads the record of `entry`; in save mode hands what it yielded to
  // the writer and drops it. A record that cannot be read was reported
  // and yields nothing. False when the load is cancelled.
  bool ReadAndHandleRecord(const MsgIndexEntry& entry) {
    if (reading_.gate != nullptr && !reading_.gate->Pass()) return false;
    reader_.set_current_key(*entry.key);
    const size_t items_before = contents_.items().size();
    const size_t contacts_before = contents_.contacts().size();
    ReadMsgRecord(reading_, table_, entry.record);
    if (writer_ != nullptr) HandToWriter(items_before, contacts_before);
    return true;
  }

  void HandToWriter(size_t items_before, size_t contacts_before) {
    for (size_t i = items_before; i < contents_.items().size(); ++i) {
      const ItemContent& item = contents_.items()[i];
      writer_->WriteMail(item, contents_.ChunksOf(item));
    }
    for (size_t i = contacts_before; i < contents_.contacts().size(); ++i) {
      writer_->WriteContact(contents_.contacts()[i]);
    }
    contents_.Clear();
  }

  StoreSession& session_;
  StoreEvents& events_;
  ItemContentRouting routing_;
  ReadContext reading_;
  ItemContentReader& reader_;
  FolderContents& contents_;
  ItemWriter* writer_;
  const OpenedTable& table_;
};

}  // namespace

LoadOutcome LoadFolderItems(ReadContext& context, ItemContentReader& reader, FolderContents& contents,
                            ItemWriter* writer) {
  StoreSession& session = context.session;
  if (!session.database) return LoadOutcome::kNotStarted;
  if (session.open_folder.save_mode && writer == nullptr) return LoadOutcome::kNotStarted;
  if (!session.open_folder.save_mode) writer = nullptr;
  const ItemFamily family = FamilyOfFolderClass(OpenFolderClass(session.open_folder.folder_class));
  if (family != ItemFamily::kMail && family != ItemFamily::kContact) return LoadOutcome::kLoaded;

  OpenedTable table;
  Status error;
  switch (session.OpenTable(kMessageTable, &table, &error)) {
    case TableLookup::kAbsent: return LoadOutcome::kLoaded;
    case TableLookup::kFailed:
      context.corruption.Corruption("table Msg", error.reason());
      return LoadOutcome::kMessageTableUnreadable;
    case TableLookup::kOpened: break;
  }
  FolderLoad load(context, reader, contents, writer, table);
  return family == ItemFamily::kMail ? load.LoadMail() : load.LoadContacts();
}

}  // namespace edb
