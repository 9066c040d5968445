// Choosing the reader: our own for the files it knows, libesedb otherwise.
#include "ese/database.h"
#include "ese/libesedb_database.h"
#include "ese/native_database.h"

namespace edb::ese {

Result<std::unique_ptr<Database>> OpenDatabase(const std::string& path, ReaderChoice choice,
                                               CorruptionReporter& corruption) {
  if (choice == ReaderChoice::kLibesedb) return OpenLibesedbDatabase(path, choice, corruption);
  Result<std::unique_ptr<Database>> native = OpenNativeDatabase(path, corruption);
  if (native.ok() || native.status().code() != StatusCode::kUnsupported) return native;
  // A format the native reader does not know: libesedb serves it (the
  // database's reader_name() says so, for the caller to tell once).
  return OpenLibesedbDatabase(path, choice, corruption);
}

}  // namespace edb::ese
