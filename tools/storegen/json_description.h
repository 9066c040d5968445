// Store descriptions from JSON ("edbgen json DESC.json OUT.edb"). The format
// is documented at the top of json_description.cc; an example lives in
// tools/storegen/examples/.
#pragma once

#include <string>
#include <string_view>

#include "storegen/store_description.h"

namespace storegen {

// Parses a description. Throws std::invalid_argument whose message names the
// place of the first fault ("mailboxes[0].folders[2].items[1].submit_time:
// ..."): malformed JSON, a missing or unknown member, a value of the wrong
// kind, an identifier or time that does not parse.
StoreDescription ParseStoreDescription(std::string_view json_text);

// Reads and parses the file at `path`; std::runtime_error when it cannot be
// read.
StoreDescription LoadStoreDescription(const std::string& path);

}  // namespace storegen
