// Opening a command's database.
#include "open_store.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace edbcli {

namespace {
edb::ese::ReaderChoice reader_choice = edb::ese::ReaderChoice::kNative;
}  // namespace

void SetReaderChoice(edb::ese::ReaderChoice reader) { reader_choice = reader; }
edb::ese::ReaderChoice CurrentReaderChoice() { return reader_choice; }

bool OpenStore(const std::string& path, edb::CorruptionReporter& corruption, edb::StoreSession* session) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    std::fprintf(stderr, "edbrecover: %s: no such file\n", path.c_str());
    return false;
  }
  if (std::filesystem::is_directory(path, ec)) {
    std::fprintf(stderr, "edbrecover: %s: is a directory\n", path.c_str());
    return false;
  }
  session->database_path = path;
  session->reader_choice = reader_choice;
  if (edb::Status opened = session->OpenDatabase(corruption); !opened.ok()) {
    std::fprintf(stderr, "edbrecover: %s: not a readable ESE database (%s)\n", path.c_str(), opened.reason().c_str());
    return false;
  }
  // Our own reader hands a file it does not know to libesedb; say so once.
  if (reader_choice == edb::ese::ReaderChoice::kNative && session->database->reader_name() != "native") {
    std::fprintf(stderr, "edbrecover: %s: format not known to the native reader, read with libesedb\n", path.c_str());
  }
  return true;
}

}  // namespace edbcli
