// Opening the database a command works on, with the command line's error
// message when that fails.
#pragma once

#include <string>

#include "base/corruption_reporter.h"
#include "store/store_session.h"

namespace edbcli {

// Sets the session's path to `path` and opens it read-only; damage met while
// reading it goes to `corruption`, which must outlive the open database. On
// failure prints why on standard error and returns false.
bool OpenStore(const std::string& path, edb::CorruptionReporter& corruption, edb::StoreSession* session);

// The reader every command opens its database with (`--reader`; our own by
// default). Set once, before the command runs.
void SetReaderChoice(edb::ese::ReaderChoice reader);
edb::ese::ReaderChoice CurrentReaderChoice();

}  // namespace edbcli
