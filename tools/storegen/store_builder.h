// Writes Exchange store databases for tests, benchmarks and edbgen.
//
// A store is fed piece by piece through StoreSink (mailboxes, then folders,
// then items in any order), so that large synthetic stores need not be held
// as a description; BuildStore feeds a whole StoreDescription.
//
//   storegen::StoreBuilder builder({.page_size = 8192});
//   builder.AddMailbox(mailbox);
//   builder.AddFolder(mailbox.key, inbox);
//   builder.AddItem(inbox.id, item);
//   builder.Finish("out.edb");
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "storegen/store_description.h"

namespace storegen {

// Receives a store in write order. Children inside the arguments (a
// mailbox's folders, a folder's items) are ignored: each comes on its own.
class StoreSink {
 public:
  virtual ~StoreSink() = default;
  virtual void AddMailbox(const Mailbox& mailbox) = 0;
  virtual void AddFolder(Id mailbox_key, const Folder& folder) = 0;
  virtual void AddItem(Id folder_id, const Item& item) = 0;
  // A record of "1-23" that belongs to no item.
  virtual void AddLooseAttachment(const Attachment& attachment) = 0;
};

// Feeds `store` to `sink`: all mailboxes, then all folders, then the items
// folder by folder, then the loose attachments.
void EmitStore(const StoreDescription& store, StoreSink* sink);

struct BuildOptions {
  uint32_t page_size = 8192;             // 4096 or 8192
  uint32_t plain_body_code_page = 1200;  // code page of "Msg" column "S1000"
  std::string scratch_directory;         // where the file grows; empty: the temporary folder
};

// The folder a database written to `path` is best grown in: its own.
std::string ScratchDirectoryFor(const std::string& path);

class StoreBuilder : public StoreSink {
 public:
  // Throws std::invalid_argument for a page size or code page it cannot
  // write.
  explicit StoreBuilder(const BuildOptions& options);
  ~StoreBuilder() override;
  StoreBuilder(const StoreBuilder&) = delete;
  StoreBuilder& operator=(const StoreBuilder&) = delete;

  // Each Add throws std::invalid_argument with a message naming the
  // offending piece when it breaks the store's rules: a repeated key or
  // identifier, a folder whose contents table name is taken, an item for an
  // unknown folder, a value too long for its column.
  void AddMailbox(const Mailbox& mailbox) override;
  void AddFolder(Id mailbox_key, const Folder& folder) override;
  void AddItem(Id folder_id, const Item& item) override;
  void AddLooseAttachment(const Attachment& attachment) override;

  // Writes the database file. Throws std::runtime_error on I/O failure.
  void Finish(const std::string& path);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// Writes `store` to `path` (page size from `options`, "S1000" code page from
// the description).
void BuildStore(const StoreDescription& store, uint32_t page_size, const std::string& path);

}  // namespace storegen
