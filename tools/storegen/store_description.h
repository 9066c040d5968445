// What a test store holds: mailboxes, their folders, the items of each folder
// with bodies, addresses and attachments. The builder (store_builder.h) turns
// such a description into an Exchange store database; tests compare what the
// reader recovers with the description they wrote.
//
// All texts are UTF-8. Identifiers are the 64-bit values whose big-endian
// bytes the store keeps (IdText renders them as the reader does).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "storegen/file_time.h"

namespace storegen {

using Id = uint64_t;

// One address entry (sender, recipient): kept as a one-off entry whose text
// parts are display name, address type and address. Empty parts are written
// empty (the entry keeps their terminators).
struct AddressEntry {
  std::string display_name;
  std::string address_type;  // "SMTP", "EX", or empty
  std::string address;
};

enum class RecipientType : uint32_t { kTo = 1, kCc = 2, kBcc = 3 };

struct Recipient {
  RecipientType type = RecipientType::kTo;
  AddressEntry entry;
};

// How the "N1009" column is made from `Body::rtf_source`.
enum class RtfKind {
  kNone,      // no RTF body
  kFromText,  // rtf_source is plain text, wrapped into a plain RTF document
  kFromHtml,  // rtf_source is HTML, encapsulated in RTF with \fromhtml1
  kRaw,       // rtf_source is the RTF document itself
};

enum class HtmlCharset { kUtf8, kWindows1252 };

struct Body {
  std::optional<std::string> plain;  // "S1000"
  RtfKind rtf_kind = RtfKind::kNone;
  std::string rtf_source;
  bool rtf_compressed = true;  // false: the uncompressed ("MELA") stream form
  std::optional<std::string> html;  // "N1013", written in html_charset
  HtmlCharset html_charset = HtmlCharset::kUtf8;

  bool empty() const { return !plain && rtf_kind == RtfKind::kNone && !html; }
};

// One record of the attachment table "1-23".
struct Attachment {
  std::optional<Id> id;                     // "Q3f88"; none: a record without it
  std::optional<std::string> display_name;  // "S3001"
  std::optional<std::string> file_name;     // "S3704"
  std::string data;                         // "N3701", raw bytes
  std::string mime_type;                    // "S370e"; empty: NULL
};

// The value pair at contents-row positions 39 (data) and 42 (its name), kept
// only in folders with the wide contents layout.
struct ContentsBlob {
  std::optional<std::string> name;
  std::string data;
};

struct Item {
  Id key = 0;                                // "N67b0"
  std::optional<std::string> message_class;  // "S1a"; none: mail without class
  std::string subject_prefix;                // "S3d" ("RE: "); empty: NULL
  std::string subject;                       // "Se1d" (normalized subject); empty: NULL
  std::optional<std::string> sender_name;    // "S42"
  std::optional<AddressEntry> sender;        // "N67be"
  std::vector<Recipient> recipients;         // "N67b4"; empty: NULL
  std::optional<std::string> recipient_text;  // "S8299", the display list of recipients
  std::optional<FileTime> submit_time;       // "T39"
  std::optional<FileTime> delivery_time;     // "Te06"
  std::optional<FileTime> creation_time;     // "T3007"
  Body body;
  std::vector<Attachment> attachments;  // their ids make "N67b3"
  // Further text ("S…") and time ("T…") columns of the message table, by
  // column name: contact fields, an appointment's location and times, …
  std::map<std::string, std::string> text_properties;
  std::map<std::string, FileTime> time_properties;
  std::optional<ContentsBlob> contents_blob;
};

// Column layouts of a folder's contents table.
enum class ContentsLayout {
  kKeyFirst,   // the key, then the dates (read big-endian)
  kDateFirst,  // the dates before the key (read little-endian)
  kWide,       // like kKeyFirst with 44 columns; positions 39 and 42 hold a blob and its name
};

struct Folder {
  Id id = 0;                                  // "Q6748"
  std::optional<Id> parent_id;                // "Q6749"
  std::optional<std::string> display_name;    // "S3001"; none: a record without it
  std::optional<std::string> container_class;  // "S3613"
  ContentsLayout layout = ContentsLayout::kKeyFirst;
  std::vector<Item> items;
};

struct Mailbox {
  Id key = 0;                               // "Q6764"
  std::optional<std::string> display_name;  // "S3001"
  std::string legacy_dn;                    // "S6606"; empty: NULL
  std::vector<Folder> folders;
};

struct StoreDescription {
  std::vector<Mailbox> mailboxes;
  // Records of "1-23" that belong to no item (written after all items).
  std::vector<Attachment> loose_attachments;
  // Code page of the message table's plain body column "S1000": 1200 or 1252.
  uint32_t plain_body_code_page = 1200;
};

}  // namespace storegen
