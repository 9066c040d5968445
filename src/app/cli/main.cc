// edbrecover: the command line. Each subcommand is a file of its own
// (commands.h); this file only parses the arguments and runs the one given.
#include <CLI/CLI.hpp>

#include "commands.h"

int main(int argc, char** argv) {
  CLI::App app{"Recovers the contents of Exchange store databases"};
  app.require_subcommand(1);
  int exit_code = 0;
  edbcli::AddTablesCommand(app, &exit_code);
  edbcli::AddScanCommand(app, &exit_code);
  edbcli::AddListCommand(app, &exit_code);
  edbcli::AddShowCommand(app, &exit_code);
  edbcli::AddExportCommand(app, &exit_code);
  CLI11_PARSE(app, argc, argv);
  return exit_code;
}
