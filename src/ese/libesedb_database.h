// The database seam (ese/database.h) implemented over libesedb. Tables,
// columns, records and values come from libesedb; long values from our own
// long-value reader where it knows the file (libesedb's long-value functions
// otherwise, or always with ReaderChoice::kLibesedb); column code pages from
// our own catalog reader. Failures carry libesedb's own reason.
//
// Ownership, lifetime and threads: as in ese/database.h. Damage found while
// opening a table's column list is reported to the CorruptionReporter the
// database was opened with.
#pragma once

#include <memory>
#include <string>

#include "ese/database.h"

namespace edb::ese {

Result<std::unique_ptr<Database>> OpenLibesedbDatabase(const std::string& path, ReaderChoice choice,
                                                       CorruptionReporter& corruption);

}  // namespace edb::ese
