// edbrecover list FILE FOLDER [--json]: scans a store database, opens one
// folder as a click on its tree item does (columns by the folder's display
// name, the rows of its contents table) and prints the message list:
// as an aligned table or as one JSON object. FOLDER is a contents table name
// ("1-91C1") or "mailbox name/folder name".
#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "scanned_store.h"
#include "base/text_encoding.h"
#include "terminal_text.h"

namespace edbcli {
namespace {

struct ListOptions {
  std::string file;
  std::string folder;
  bool json = false;
};

// The longest cell the aligned table shows, in characters.
constexpr size_t kWidestCell = 40;

using Table = std::vector<std::vector<std::string>>;

// The list's rows as UTF-8 (`to_utf8` converts each cell), each cut or
// padded to exactly `columns` cells, as a list view shows them: texts beyond
// the last column are dropped, cells never set are empty.
Table ListRows(const FolderListing& listing, size_t columns, std::string (*to_utf8)(std::u16string_view)) {
  Table rows;
  for (const std::vector<std::u16string>& cells : listing.rows) {
    std::vector<std::string> row(columns);
    for (size_t c = 0; c < columns && c < cells.size(); ++c) row[c] = to_utf8(cells[c]);
    rows.push_back(std::move(row));
  }
  return rows;
}

size_t Characters(const std::string& utf8) {
  return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// `utf8` cut to at most `limit` characters, "…" marking a cut.
std::string Shortened(const std::string& utf8, size_t limit) {
  if (Characters(utf8) <= limit) return utf8;
  size_t kept = 0;
  size_t end = 0;
  for (; end < utf8.size(); ++end) {
    if ((utf8[end] & 0xC0) != 0x80 && kept++ == limit - 1) break;
  }
  return utf8.substr(0, end) + "\u2026";
}

void PrintAligned(const std::vector<std::string>& headings, const Table& rows) {
  Table shown = {headings};
  for (const std::vector<std::string>& row : rows) {
    std::vector<std::string> cells;
    for (const std::string& cell : row) cells.push_back(Shortened(cell, kWidestCell));
    shown.push_back(std::move(cells));
  }
  std::vector<size_t> widths(headings.size(), 0);
  for (const std::vector<std::string>& row : shown) {
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], Characters(row[c]));
  }
  for (const std::vector<std::string>& row : shown) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
      line += row[c];
      if (c + 1 < row.size()) line += std::string(widths[c] - Characters(row[c]) + 2, ' ');
    }
    std::printf("%s\n", line.c_str());
  }
}

void PrintList(const ListOptions& options, const edb::FolderEntry& folder, const FolderListing& listing) {
  std::vector<std::string> headings;
  for (const edb::ListColumn& column : listing.columns) headings.push_back(edb::Utf16ToUtf8(column.heading));
  if (options.json) {
    const Table rows = ListRows(listing, headings.size(), edb::Utf16ToUtf8);
    const nlohmann::json json = {{"folder", edb::Utf16ToUtf8(folder.display_name)},
                                 {"class", edb::Utf16ToUtf8(folder.container_class)},
                                 {"columns", headings},
                                 {"rows", rows}};
    std::printf("%s\n", json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
    return;
  }
  const Table rows = ListRows(listing, headings.size(), TerminalText);
  std::printf("%s  [%s]  %zu rows\n", TerminalText(folder.display_name).c_str(),
              TerminalText(folder.container_class).c_str(), rows.size());
  if (!headings.empty() && headings[0].empty()) headings[0] = "Key";
  PrintAligned(headings, rows);
}

int RunList(const ListOptions& options) {
  std::unique_ptr<ScannedStore> store;
  try {
    store = std::make_unique<ScannedStore>(true);
  } catch (const std::runtime_error& e) {
    std::fprintf(stderr, "edbrecover: %s\n", e.what());
    return 1;
  }
  const std::optional<edb::FolderEntry> found = ScanAndFindFolder(*store, options.file, options.folder);
  if (!found) return 1;
  const edb::FolderEntry& folder = *found;
  PrintList(options, folder, ReadFolder(*store, folder, nullptr));
  return 0;
}

}  // namespace

void AddListCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<ListOptions>();
  CLI::App* command = app.add_subcommand("list", "Open one folder of a store database and print its message list");
  command->add_option("FILE", options->file, "The store database (.edb)")->required();
  command->add_option("FOLDER", options->folder, "A contents table name (1-91C1) or \"mailbox name/folder name\"")
      ->required();
  command->add_flag("--json", options->json, "Print one JSON object");
  command->callback([options, exit_code] { *exit_code = RunList(*options); });
}

}  // namespace edbcli
