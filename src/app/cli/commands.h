// The subcommands of edbrecover. Each lives in a file of its own and adds
// itself to the application; when it runs, it stores its exit code.
#pragma once

#include <CLI/CLI.hpp>

namespace edbcli {

// "tables FILE [--json]": the tables of any ESE database, in catalog order.
void AddTablesCommand(CLI::App& app, int* exit_code);

// "scan FILE [--json]": the mailboxes and folders of a store database.
void AddScanCommand(CLI::App& app, int* exit_code);

// "list FILE FOLDER [--json]": the message list of one folder.
void AddListCommand(CLI::App& app, int* exit_code);

// "show FILE FOLDER KEY [--json]": the preview of one item of a folder.
void AddShowCommand(CLI::App& app, int* exit_code);

// "export FILE --to DIR [--mailbox NAME]... [--folder MAILBOX/FOLDER]...
// [--format maildir|mbox|eml]": saves folders into a local mail store.
void AddExportCommand(CLI::App& app, int* exit_code);

}  // namespace edbcli
