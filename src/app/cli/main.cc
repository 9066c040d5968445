// edbrecover: the command line. Each subcommand is a file of its own
// (commands.h); this file only parses the arguments, runs the one given and
// turns what it skipped into the exit code.
#include <CLI/CLI.hpp>

#include <cstdio>

#include "commands.h"
#include "console_corruption_reporter.h"
#include "open_store.h"

int main(int argc, char** argv) {
  CLI::App app{"Recovers the contents of Exchange store databases"};
  app.require_subcommand(1);
  // Global, and accepted after the subcommand too.
  app.fallthrough();
  app.add_option_function<std::string>(
         "--reader",
         [](const std::string& reader) {
           edbcli::SetReaderChoice(reader == "libesedb" ? edb::ese::ReaderChoice::kLibesedb
                                                        : edb::ese::ReaderChoice::kNative);
         },
         "The ESE reader: our own (native, the default), or libesedb to cross-check")
      ->check(CLI::IsMember({"native", "libesedb"}))
      ->trigger_on_parse();
  int exit_code = 0;
  edbcli::AddTablesCommand(app, &exit_code);
  edbcli::AddScanCommand(app, &exit_code);
  edbcli::AddListCommand(app, &exit_code);
  edbcli::AddShowCommand(app, &exit_code);
  edbcli::AddExportCommand(app, &exit_code);
  CLI11_PARSE(app, argc, argv);
  // 0: everything was read; 2: the command finished but skipped damage
  // (each reported on standard error as it was met, and what it cost said
  // once at the end); 1: nothing was read.
  edbcli::ConsoleCorruptionReporter::PrintProcessCosts();
  const int skipped = edbcli::ConsoleCorruptionReporter::process_count();
  if (skipped > 0) {
    std::fprintf(stderr, "edbrecover: %d damaged part%s skipped\n", skipped, skipped == 1 ? "" : "s");
    if (exit_code == 0) exit_code = 2;
  }
  return exit_code;
}
