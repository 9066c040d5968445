// Our own implementation of the database seam (ese/database.h), over the
// page, tree, catalog and long-value readers: records in the data tree's
// key order (libesedb's order, same positions), any table size, damage
// costing only the pages it touches.
//
// Ownership, lifetime and threads as ese/database.h says. Damage is
// reported once, where it is found: a table's data tree when the table's
// records are first counted or read, a record that does not decode when it
// is read, a long value when it is opened.
#pragma once

#include <memory>
#include <string>

#include "ese/database.h"

namespace edb::ese {

// Opens `path` with our own reader. Unsupported when the file's format
// (version, revision, page size) is one it does not know, so that the
// caller can fall back to libesedb; IoError when the file cannot be read
// (missing, permission, not a regular file, device error), with the reason;
// Corruption when the header is unusable or the catalog holds no table.
// `corruption` must outlive the database.
Result<std::unique_ptr<Database>> OpenNativeDatabase(const std::string& path, CorruptionReporter& corruption);

}  // namespace edb::ese
