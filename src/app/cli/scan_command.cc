// edbrecover scan FILE [--json]: scans a store database as Scan File does and
// prints its tree (the mailboxes and their folders, in tree order) with the
// number of indexed messages and attachments; as an indented tree or as one
// JSON object.
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "scanned_store.h"
#include "base/text_encoding.h"
#include "terminal_text.h"

namespace edbcli {
namespace {

struct ScanOptions {
  std::string file;
  bool json = false;
};

using edb::Utf16ToUtf8;

nlohmann::json OptionalText(const std::optional<std::u16string>& text) {
  return text ? nlohmann::json(Utf16ToUtf8(*text)) : nlohmann::json(nullptr);
}

nlohmann::json TreeJson(const std::string& path, const std::vector<TreeMailbox>& tree,
                        const edb::StoreSession& session) {
  nlohmann::json mailboxes = nlohmann::json::array();
  for (const TreeMailbox& mailbox : tree) {
    nlohmann::json folders = nlohmann::json::array();
    for (const TreeFolder& folder : mailbox.folders) {
      folders.push_back({{"key", Utf16ToUtf8(folder.entry->mailbox_key)},
                         {"name", Utf16ToUtf8(folder.entry->display_name)},
                         {"class", Utf16ToUtf8(folder.entry->container_class)},
                         {"table", OptionalText(folder.entry->contents_table_name)},
                         {"image", folder.image}});
    }
    mailboxes.push_back({{"key", Utf16ToUtf8(mailbox.entry->key)},
                         {"name", Utf16ToUtf8(mailbox.entry->display_name)},
                         {"image", mailbox.image},
                         {"folders", std::move(folders)}});
  }
  return {{"database", path},
          {"mailboxes", std::move(mailboxes)},
          {"messages", session.message_index.size()},
          {"attachments", session.attachments.size()}};
}

void PrintTree(const std::string& path, const std::vector<TreeMailbox>& tree, const edb::StoreSession& session) {
  std::printf("%s\n", path.c_str());
  size_t folders = 0;
  for (const TreeMailbox& mailbox : tree) {
    std::printf("  %s  (key %s)\n", TerminalText(mailbox.entry->display_name).c_str(),
                TerminalText(mailbox.entry->key).c_str());
    for (const TreeFolder& folder : mailbox.folders) {
      const edb::FolderEntry& entry = *folder.entry;
      std::printf("    %s  [%s, %s]\n", TerminalText(entry.display_name).c_str(),
                  TerminalText(entry.container_class).c_str(),
                  entry.contents_table_name ? TerminalText(*entry.contents_table_name).c_str() : "no table");
      ++folders;
    }
  }
  std::printf("%zu mailboxes, %zu folders, %zu messages, %zu attachments\n", tree.size(), folders,
              session.message_index.size(), session.attachments.size());
}

int RunScan(const ScanOptions& options) {
  ScannedStore store(false);
  if (!store.Scan(options.file)) return 1;
  const std::vector<TreeMailbox> tree = StoreTree(store.session());
  if (options.json) {
    const nlohmann::json json = TreeJson(options.file, tree, store.session());
    std::printf("%s\n", json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
  } else {
    PrintTree(options.file, tree, store.session());
  }
  return 0;
}

}  // namespace

void AddScanCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<ScanOptions>();
  CLI::App* command = app.add_subcommand("scan", "Scan a store database and print its mailboxes and folders");
  command->add_option("FILE", options->file, "The store database (.edb)")->required();
  command->add_flag("--json", options->json, "Print one JSON object");
  command->callback([options, exit_code] { *exit_code = RunScan(*options); });
}

}  // namespace edbcli
