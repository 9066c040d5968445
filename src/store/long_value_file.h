// Writing the data of one record value into a file of the private temporary
// folder: attachment data when a folder is saved, and the value at position
// 39 of a folder's contents rows. Only long values (value flag 0x04) are
// written; every other value is read, checked and left alone.
#pragma once

#include <filesystem>
#include <string>

#include "base/status.h"
#include "store/record_value.h"
#include "base/private_temp_folder.h"
#include "store/store_events.h"

namespace edb {

// Writes value `column` of `record` out to a file, acting on the value's flags in this
// order:
//  - no flag above 0x01: nothing written; ok, or corruption when the value
//    cannot be read as text;
//  - compressed (0x02): a long text with data is expanded (and dropped);
//    corruption when that fails; other types ok;
//  - long value (0x04): its segments are written in order to a new file of
//    `folder` named after `file_name` (UniqueFilePath: one safe component,
//    never the name of a file handed out before); the progress position steps
//    once per segment as a table walk's does. Ok when every segment was
//    read and written; corruption when the long value cannot be opened or
//    a segment cannot be read; an I/O error when the file cannot be created
//    or written (what was written stays);
//  - multi-value (0x08 without 0x10): the members are read and dropped;
//    corruption when that fails;
//  - anything else: ok.
// Corruption too when the value's type, flags or data cannot be read. A
// failure's reason says why, for the caller to report. `written`, when
// given, receives the file's path when a file was created (and is left
// alone otherwise).
Status WriteLongValueFile(const RecordRef& record, int column, const std::u16string& file_name,
                          PrivateTempFolder& folder, StoreEvents& events, std::filesystem::path* written = nullptr);

}  // namespace edb
