// edbrecover: the command line (placeholder: lists tables straight through libesedb).
#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include "store/esedb_handles.h"

int main(int argc, char** argv) {
  CLI::App app{"Recovers the contents of Exchange store databases"};
  app.require_subcommand(1);
  std::string file;
  auto* tables = app.add_subcommand("tables", "List the tables of an ESE database");
  tables->add_option("FILE", file)->required();
  CLI11_PARSE(app, argc, argv);

  edb::EsedbError error;
  edb::EsedbFile db = edb::OpenEsedbFile(file, &error);
  if (!db) {
    std::fprintf(stderr, "edbrecover: cannot open %s: %s\n", file.c_str(), error.Message().c_str());
    return 1;
  }
  int count = 0;
  libesedb_file_get_number_of_tables(db.get(), &count, error.slot());
  for (int i = 0; i < count; ++i) {
    edb::EsedbTable table;
    std::u16string name;
    if (!edb::TableByIndex(db.get(), i, &table, &error) || !edb::TableName(table.get(), &name, &error)) return 1;
    std::string utf8(name.begin(), name.end());
    std::printf("%d\t%s\n", i, utf8.c_str());
  }
  return 0;
}
