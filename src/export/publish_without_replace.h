// Putting a finished temporary file under its final name without ever
// replacing a file that is there, on any local or network file system:
// a hard link where the file system has them, else a rename that refuses to
// replace (renameat2 RENAME_NOREPLACE), else a claim of the final name
// (created exclusively, empty and with no permissions) that the file then
// takes over by rename, or by copy when the two names are on different file
// systems.
//
// A claim left behind by a writer that was cut off (an empty file of mode
// 0000) is recognised on the next run and taken over; any other file under
// the final name is left alone. Readers see the final name absent, as that
// empty unreadable claim for an instant, or complete.
//
// The system calls go through PublishCalls so tests can act out file systems
// without hard links or RENAME_NOREPLACE. Stateless; safe from any thread.
#pragma once

#include <filesystem>

#include "base/status.h"

namespace edb {

enum class NewFileOutcome {
  kWritten,  // the file now exists under its final name, with our bytes
  kExisted,  // a file of that name was there already; it was left alone
};

// The calls that move a file into place, each with the system calls'
// contract: 0 on success, -1 with errno set on failure.
struct PublishCalls {
  int (*link)(const char* from, const char* to);
  int (*rename_noreplace)(const char* from, const char* to);  // EINVAL/ENOSYS: unsupported here
  int (*rename)(const char* from, const char* to);
};

// link(2), renameat2(2) with RENAME_NOREPLACE and rename(2).
const PublishCalls& SystemPublishCalls();

// Moves the closed file `temp` to `final_path` without replacing anything
// there. `temp` is gone afterwards whatever the outcome. On failure
// `final_path` holds nothing of ours and the reason names it.
Result<NewFileOutcome> PublishWithoutReplace(const std::filesystem::path& temp,
                                             const std::filesystem::path& final_path,
                                             const PublishCalls& calls = SystemPublishCalls());

}  // namespace edb
