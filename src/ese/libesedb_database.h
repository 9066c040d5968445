// The database seam over libesedb: the fallback for files our own reader
// does not know, and the independent check it is tested against. Values,
// flags and bytes are libesedb's own; libesedb's error text is kept in
// every failure. Ownership, lifetime and threads as ese/database.h says.
#pragma once

#include <memory>
#include <string>

#include "ese/database.h"

namespace edb::ese {

// Opens `path` read-only with libesedb. IoError or Corruption, with
// libesedb's reason, when it cannot.
Result<std::unique_ptr<Database>> OpenLibesedbDatabase(const std::string& path, CorruptionReporter& corruption);

}  // namespace edb::ese
