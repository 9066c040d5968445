// Writes an item's body to the file the preview shows.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

#include "store/body_chunk.h"

namespace edb {

// Writes `text` to `out` as UTF-8: every character is kept, tabs and
// backslashes included, and a line feed is written as a line feed (the
// stream must be binary; nothing depends on a text mode). Unpaired
// surrogates become U+FFFD. False when the stream fails.
bool WriteBodyText(std::u16string_view text, std::ostream& out);

// Writes the body of item `key` (ItemBody of `chunks`) into `folder` and
// returns the file's path: "txtbody.txt" for a text body, "txtbody.html" for
// an HTML body or when the item has none (the file is then empty HTML). Both
// are UTF-8 and start with a byte-order mark; an HTML file also declares
// <meta charset="utf-8"> before the body's own markup, so a charset the
// original HTML declared does not mislead the preview. Returns an empty path,
// with `error` set, when the file cannot be written.
std::filesystem::path WriteBodyFile(const BodyChunkList& chunks, std::u16string_view key,
                                    const std::filesystem::path& folder, std::string* error);

}  // namespace edb
