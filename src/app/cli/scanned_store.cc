// Scanning a store for a command, and its tree in tree order.
#include "scanned_store.h"

#include <cstdio>

#include "app/ui/folder_image.h"
#include "app/ui/out_of_memory.h"
#include "app/ui/scan_flow.h"
#include "base/text_encoding.h"
#include "open_store.h"
#include "store/folder_rows.h"

namespace edbcli {
namespace {

std::unique_ptr<edb::PrivateTempFolder> MakeTempFolder(bool wanted) {
  return wanted ? std::make_unique<edb::PrivateTempFolder>() : nullptr;
}

const TreeMailbox* MailboxNamed(const std::vector<TreeMailbox>& tree, std::u16string_view name) {
  for (const TreeMailbox& mailbox : tree) {
    if (mailbox.entry->display_name == name) return &mailbox;
  }
  return nullptr;
}

// The position of the last "/" of `spec` whose prefix names a mailbox, or
// npos.
size_t MailboxNameEnd(const std::vector<TreeMailbox>& tree, std::u16string_view spec) {
  size_t slash = spec.rfind(u'/');
  while (slash != std::u16string_view::npos) {
    if (MailboxNamed(tree, spec.substr(0, slash)) != nullptr) return slash;
    if (slash == 0) break;
    slash = spec.rfind(u'/', slash - 1);
  }
  return std::u16string_view::npos;
}

// Collects the cells of the listed rows; progress goes to the console.
class RowCollector : public edb::StoreEvents {
 public:
  explicit RowCollector(ConsoleWindow& window) : window_(window) {}
  void Progress(int position) override { window_.SetProgress(position); }
  void RowRead(edb::ItemFamily family, const edb::ListRow& row, bool listed) override {
    if (listed) rows.push_back(edb::ListRowCells(family, row));
  }
  std::vector<std::vector<std::u16string>> rows;

 private:
  ConsoleWindow& window_;
};

}  // namespace

ScannedStore::ScannedStore(bool with_temp_folder)
    : temp_folder_(MakeTempFolder(with_temp_folder)),
      handlers_(session_, corruption_, temp_folder_.get()),
      context_{session_, window_, handlers_, corruption_, nullptr} {}

bool ScannedStore::Scan(const std::string& path) {
  session_.database_path = path;
  session_.reader_choice = CurrentReaderChoice();
  const bool completed = edb::ScanDatabase(context_) == edb::ScanOutcome::kCompleted;
  // Our own reader hands a file it does not know to libesedb; say so once.
  if (session_.database && session_.reader_choice == edb::ese::ReaderChoice::kNative &&
      session_.database->reader_name() != "native") {
    std::fprintf(stderr, "edbrecover: %s: format not known to the native reader, read with libesedb\n", path.c_str());
  }
  return completed;
}

std::vector<TreeMailbox> StoreTree(const edb::StoreSession& session) {
  std::vector<TreeMailbox> tree;
  tree.reserve(session.mailboxes.size());
  for (const edb::MailboxEntry& mailbox : session.mailboxes) {
    tree.push_back(TreeMailbox{&mailbox, edb::FolderImage(mailbox.display_name, std::nullopt), {}});
  }
  for (const edb::FolderEntry& folder : session.folders) {
    if (folder.mailbox_index >= tree.size()) continue;
    tree[folder.mailbox_index].folders.push_back(
        TreeFolder{&folder, edb::FolderImage(folder.display_name, folder.container_class)});
  }
  return tree;
}

FolderListing ReadFolder(ScannedStore& store, const edb::FolderEntry& folder, edb::FolderBodyPass* body_pass) {
  FolderListing listing;
  listing.columns = edb::ListColumnsFor(folder.display_name);
  RowCollector collector(store.window());
  edb::WindowContext& context = store.context();
  edb::ReadContext reading = context.Reading(collector);
  edb::EndingProcessWhenMemoryRunsOut(store.window(), [&] {
    edb::ResetOpenFolder(context.session);
    edb::ReadFolderRows(reading, folder);
    if (body_pass != nullptr) body_pass->Run(reading, folder);
    return 0;
  });
  listing.rows = std::move(collector.rows);
  return listing;
}

const TreeFolder* FindTreeFolder(const std::vector<TreeMailbox>& tree, const std::string& spec) {
  const std::u16string wanted = edb::Utf8ToUtf16(spec);
  for (const TreeMailbox& mailbox : tree) {
    for (const TreeFolder& folder : mailbox.folders) {
      if (folder.entry->contents_table_name == wanted) return &folder;
    }
  }
  const size_t slash = MailboxNameEnd(tree, wanted);
  if (slash == std::u16string::npos) return nullptr;
  const std::u16string_view mailbox_name = std::u16string_view(wanted).substr(0, slash);
  const std::u16string_view folder_name = std::u16string_view(wanted).substr(slash + 1);
  for (const TreeMailbox& mailbox : tree) {
    if (mailbox.entry->display_name != mailbox_name) continue;
    for (const TreeFolder& folder : mailbox.folders) {
      if (folder.entry->display_name == folder_name) return &folder;
    }
  }
  return nullptr;
}

std::optional<edb::FolderEntry> ScanAndFindFolder(ScannedStore& store, const std::string& file,
                                                  const std::string& spec) {
  if (!store.Scan(file)) return std::nullopt;
  const std::vector<TreeMailbox> tree = StoreTree(store.session());
  const TreeFolder* found = FindTreeFolder(tree, spec);
  if (found == nullptr) {
    std::fprintf(stderr, "edbrecover: %s: no folder \"%s\" (give a contents table name such as 1-91C1, or "
                 "\"mailbox name/folder name\")\n", file.c_str(), spec.c_str());
    return std::nullopt;
  }
  return *found->entry;
}

}  // namespace edbcli
