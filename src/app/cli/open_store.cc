// Opening a command's database.
#include "open_store.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace edbcli {

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
  if (edb::Status opened = session->OpenDatabase(corruption); !opened.ok()) {
    std::fprintf(stderr, "edbrecover: %s: not a readable ESE database (%s)\n", path.c_str(), opened.reason().c_str());
    return false;
  }
  return true;
}

}  // namespace edbcli
