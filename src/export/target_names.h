// Names of what a save writes into the target store, made from names and
// keys read from a damaged store: every result is one safe path component
// that stays inside its parent ("/", ".", "..", control characters and
// over-long names cannot escape or fail), and different inputs give
// different results.
#pragma once

#include <string>
#include <string_view>

namespace edb {

// The longest component these functions return, in bytes (file systems
// allow 255; room is left for prefixes, suffixes and temporary names).
inline constexpr size_t kMaxTargetNameBytes = 200;

// A UTF-8 directory or file name for `name` (UTF-8; invalid bytes are
// escaped too): "/", "\\", "%", control characters and DEL become "%XX", a
// leading "." becomes "%2E", an empty name "%"; names longer than
// kMaxTargetNameBytes are cut at a character boundary and end in "~" and a
// hash of the whole name.
std::string SafeComponentName(std::string_view name);

// The Maildir++ folder directory for mail folder `name` (UTF-8): "." + the
// directory Dovecot's maildir++ layout with the listescape plugin ("\\")
// reads as that name, so Dovecot lists and opens it as `name`: IMAP
// modified UTF-7 (RFC 3501; control characters inside its base64 runs),
// with the hierarchy separator ".", the escape character "\\" and a "~"
// at the start of a level written as "\\xx". A "/" between two non-empty
// pieces is a level of the folder hierarchy ("a/b": b inside a, as IMAP
// shows it with "/" as separator); in a name with an empty piece ("/",
// "a//b") each "/" becomes U+2215 DIVISION SLASH, as no IMAP name can hold
// a "/" that is not a level. Bounded like SafeComponentName (a cut name no
// longer matches Dovecot's own); an empty name is "(no name)".
std::string MaildirFolderDirectory(std::string_view name);

// IMAP modified UTF-7 of UTF-8 `text` ("&" becomes "&-", non-ASCII runs
// "&...-"); invalid UTF-8 bytes count as U+FFFD.
std::string ModifiedUtf7(std::string_view text);

// A file name stem for an item key: the key's letters, digits, "-" and "_"
// kept, anything else "%XX"; "item" when empty; bounded like
// SafeComponentName.
std::string KeyFileStem(std::string_view key);

}  // namespace edb
