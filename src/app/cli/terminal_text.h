// Text from a store made safe to print on a terminal. A subject, name or body
// may hold control characters, and escape sequences among them can clear the
// screen, move the cursor or set the terminal's title; the text output of
// scan, list and show shows them instead of sending them.
//
// The rule: every C0 control (U+0000 to U+001F), DEL (U+007F) and C1 control
// (U+0080 to U+009F) is shown as a backslash, "x" and its two lower-case
// hexadecimal digits (ESC as "\x1b"). In a body, tab and line feed are kept,
// and so is a carriage return right before a line feed (a Windows line end).
// Everything else, non-ASCII letters included, is kept as it is.
#pragma once

#include <string>
#include <string_view>

namespace edbcli {

// One-line text (names, subjects, list cells) as UTF-8, every control shown.
std::string TerminalText(std::u16string_view text);

// A body as UTF-8: its lines and tabs kept, every other control shown.
std::string TerminalBodyText(std::u16string_view text);

}  // namespace edbcli
