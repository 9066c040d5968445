// Writing the data of one record value into a file of the private temporary
// folder: attachment data when a folder is saved, and the value at position
// 39 of a folder's contents rows. Only long values (value flag 0x04) are
// written; every other value is read, checked and left alone.
#pragma once

#include <filesystem>
#include <string>

#include "store/record_value.h"
#include "base/private_temp_folder.h"
#include "store/store_events.h"

namespace edb {

// Writes value `column` of `record` out to a file, acting on the value's flags in this
// order:
//  - no flag above 0x01: nothing written; 1, or -1 when the value cannot be
//    read as text;
//  - compressed (0x02): a long text with data is expanded (and dropped);
//    -1 when that fails; other types 1;
//  - long value (0x04): its segments are written in order to a new file of
//    `folder` named after `file_name` (UniqueFilePath: one safe component,
//    never the name of a file handed out before); the progress position steps
//    once per segment as a table walk's does. 1 when every segment was
//    read and written; -1 when the long value cannot be opened, the file
//    cannot be created, or a segment cannot be read or written (what was
//    written stays);
//  - multi-value (0x08 without 0x10): the members are read and dropped;
//    -1 when that fails;
//  - anything else: 1.
// -1 too when the value's type, flags or data cannot be read. On -1,
// `error` says why. `written`, when given, receives the file's path when a
// file was created (and is left alone otherwise).
int WriteLongValueFile(const RecordRef& record, int column, const std::u16string& file_name, PrivateTempFolder& folder,
                    StoreEvents& events, std::string* error, std::filesystem::path* written = nullptr);

}  // namespace edb
