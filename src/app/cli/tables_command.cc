// edbrecover tables FILE [--json]: lists the tables of an ESE database in
// catalog order, one "index<TAB>name" line each, or as a JSON array of
// {"index", "name"} objects.
#include <cstdio>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "console_corruption_reporter.h"
#include "open_store.h"
#include "store/store_session.h"
#include "store/table_directory.h"
#include "base/text_encoding.h"

namespace edbcli {
namespace {

struct TablesOptions {
  std::string file;
  bool json = false;
};

void PrintText(const edb::TableDirectory& tables) {
  for (const edb::TableDirectoryEntry& entry : tables.entries()) {
    std::printf("%d\t%s\n", entry.index, edb::Utf16ToUtf8(entry.name).c_str());
  }
}

void PrintJson(const edb::TableDirectory& tables) {
  nlohmann::json list = nlohmann::json::array();
  for (const edb::TableDirectoryEntry& entry : tables.entries()) {
    list.push_back({{"index", entry.index}, {"name", edb::Utf16ToUtf8(entry.name)}});
  }
  std::printf("%s\n", list.dump(2).c_str());
}

int RunTables(const TablesOptions& options) {
  ConsoleCorruptionReporter corruption;
  edb::StoreSession session;
  if (!OpenStore(options.file, corruption, &session)) return 1;
  const edb::DirectoryOutcome listed = edb::BuildTableDirectory(session, corruption);
  if (options.json) {
    PrintJson(session.tables);
  } else {
    PrintText(session.tables);
  }
  return listed == edb::DirectoryOutcome::kEveryTableListed ? 0 : 1;
}

}  // namespace

void AddTablesCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<TablesOptions>();
  CLI::App* command = app.add_subcommand("tables", "List the tables of an ESE database in catalog order");
  command->add_option("FILE", options->file, "The database file")->required();
  command->add_flag("--json", options->json, "Print a JSON array of {index, name}");
  command->callback([options, exit_code] { *exit_code = RunTables(*options); });
}

}  // namespace edbcli
