// edbrecover show FILE FOLDER KEY [--json]: scans a store database, opens
// FOLDER as `list` does, loads its items (the body pass) and prints what a
// click on the first row whose key column is KEY previews: the header
// fields, for mail the recipients and attachment names, and the body or
// page the preview pane shows.
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "store/body_pass.h"
#include "app/ui/item_preview.h"
#include "scanned_store.h"
#include "store/folder_contents.h"
#include "base/private_temp_folder.h"
#include "base/text_encoding.h"
#include "terminal_text.h"

namespace edbcli {
namespace {

struct ShowOptions {
  std::string file;
  std::string folder;
  std::string key;
  bool json = false;
};

// Columns 0 to 7 of the first list row whose column 0 is `key`.
std::optional<edb::RowTexts> RowWithKey(const FolderListing& listing, const std::u16string& key) {
  for (const std::vector<std::u16string>& cells : listing.rows) {
    if (cells.empty() || cells[0] != key) continue;
    edb::RowTexts row;
    for (size_t c = 0; c < row.size() && c < cells.size(); ++c) row[c] = cells[c];
    return row;
  }
  return std::nullopt;
}

nlohmann::ordered_json TextOrNull(const std::optional<std::u16string>& text) {
  return text ? nlohmann::ordered_json(edb::Utf16ToUtf8(*text)) : nlohmann::ordered_json(nullptr);
}

void PrintJson(const edb::ItemPreview& preview) {
  const bool mail = preview.sets_mail_fields;
  nlohmann::ordered_json json = {
      {"kind", edb::FamilyName(preview.kind)},
      {"from", edb::Utf16ToUtf8(preview.from)},
      {"subject", edb::Utf16ToUtf8(preview.subject)},
      {"date", edb::Utf16ToUtf8(preview.date)},
      {"to", mail ? TextOrNull(preview.to) : nullptr},
      {"attachments", mail ? TextOrNull(preview.attachments) : nullptr},
      {"bodyKind", mail ? nlohmann::ordered_json(std::string(edb::BodyKindName(preview.body_kind))) : nullptr},
      {"body", TextOrNull(preview.body)},
  };
  std::printf("%s\n", json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
}

void PrintField(const char* label, const std::u16string& text) {
  std::printf("%-12s %s\n", label, TerminalText(text).c_str());
}

void PrintText(const edb::ItemPreview& preview) {
  PrintField("Kind:", edb::Utf8ToUtf16(edb::FamilyName(preview.kind)));
  PrintField("From:", preview.from);
  if (preview.sets_mail_fields) PrintField("To:", preview.to.value_or(u""));
  PrintField("Subject:", preview.subject);
  PrintField("Date:", preview.date);
  if (preview.sets_mail_fields) {
    PrintField("Attachments:", preview.attachments.value_or(u""));
    PrintField("Body kind:", edb::Utf8ToUtf16(edb::BodyKindName(preview.body_kind)));
  }
  if (!preview.has_record) std::printf("(no Msg record for this key: only the header fields are shown)\n");
  if (preview.body) std::printf("\n%s\n", TerminalBodyText(*preview.body).c_str());
}

int RunShow(const ShowOptions& options) {
  std::unique_ptr<ScannedStore> store;
  std::unique_ptr<edb::PrivateTempFolder> preview_folder;
  try {
    store = std::make_unique<ScannedStore>(true);
    preview_folder = std::make_unique<edb::PrivateTempFolder>();
  } catch (const std::runtime_error& e) {
    std::fprintf(stderr, "edbrecover: %s\n", e.what());
    return 1;
  }
  const std::optional<edb::FolderEntry> found = ScanAndFindFolder(*store, options.file, options.folder);
  if (!found) return 1;
  const edb::FolderEntry& folder = *found;
  edb::FolderContents contents;
  edb::ItemBodyPass body_pass(&contents);
  const FolderListing listing = ReadFolder(*store, folder, &body_pass);

  const std::optional<edb::RowTexts> row = RowWithKey(listing, edb::Utf8ToUtf16(options.key));
  if (!row) {
    std::fprintf(stderr, "edbrecover: %s: folder \"%s\" lists no item with key \"%s\"\n", options.file.c_str(),
                 options.folder.c_str(), options.key.c_str());
    return 1;
  }
  const edb::StoreSession& session = store->session();
  const edb::ItemPreview preview = edb::PreviewSelectedItem(*row, session.open_folder.folder_class,
                                                            session.message_index, contents, preview_folder->path());
  if (!preview.error.empty()) std::fprintf(stderr, "edbrecover: %s\n", preview.error.c_str());
  if (options.json) {
    PrintJson(preview);
  } else {
    PrintText(preview);
  }
  return 0;
}

}  // namespace

void AddShowCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<ShowOptions>();
  CLI::App* command =
      app.add_subcommand("show", "Open one folder of a store database and print the preview of one item");
  command->add_option("FILE", options->file, "The store database (.edb)")->required();
  command->add_option("FOLDER", options->folder, "A contents table name (1-91C1) or \"mailbox name/folder name\"")
      ->required();
  command->add_option("KEY", options->key, "The item's key, as in the first column of `list`")->required();
  command->add_flag("--json", options->json, "Print one JSON object");
  command->callback([options, exit_code] { *exit_code = RunShow(*options); });
}

}  // namespace edbcli
