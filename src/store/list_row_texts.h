// The texts a folder's header row yields: the rendered values of the header
// columns, kept by exact column name, and the subject and From texts made
// of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace edb {

struct ListRowTexts {
  std::optional<std::u16string> key;                 // "N67b0"
  std::optional<std::u16string> message_class;       // "S1a"
  std::optional<std::u16string> sender_name;         // "S42"
  std::optional<std::u16string> sender_entry;        // "N67be", as hexadecimal text
  std::optional<std::u16string> subject_prefix;      // "S3d"
  std::optional<std::u16string> normalized_subject;  // "Se1d"
  std::optional<std::u16string> submit_time;         // "T39"
  std::optional<std::u16string> delivery_time;       // "Te06"
  std::optional<std::u16string> has_attachments;     // "Be1b"
  std::optional<std::u16string> plain_body;          // "S1000"
  std::optional<std::u16string> location;            // "S80fd"
  std::optional<std::u16string> home_phone;          // "S3a09"
  std::optional<std::u16string> business_phone;      // "S3a08"
  std::optional<std::u16string> mobile_phone;        // "S3a1c"
  std::optional<std::u16string> postal_address;      // "S3a15"
  std::optional<std::u16string> email_address;       // "S81b0"
};

// True when `column_name` is one of the header columns above (whole,
// case-sensitive comparison).
bool IsListColumn(std::u16string_view column_name);

// Keeps `text` as the value of header column `column_name` (a later value of
// the same name replaces an earlier one, also by none); other names are
// ignored.
void CaptureListRowText(ListRowTexts* texts, std::u16string_view column_name, std::optional<std::u16string> text);

// The subject prefix followed directly by the normalized subject; either may
// be absent.
std::u16string SubjectText(const ListRowTexts& texts);

// The sender name followed by ";" when there is one, then the sender
// address made of the sender entry (FormatSenderAddress) when there is one;
// empty when neither is there.
std::u16string FromText(const ListRowTexts& texts);

}  // namespace edb
