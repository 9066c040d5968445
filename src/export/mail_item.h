// What a writer needs of one mail item, in UTF-8: the item's own header
// values, its body in the forms it has, and its attachments as names with a
// loader that reads their bytes only when the message is written. Built from
// the store model by the save flow; the writers know nothing of the store.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/status.h"

namespace edb {

struct MailAddress {
  std::string name;     // display name; may be empty
  std::string address;  // e-mail address; may be empty (then the name is all we have)
};

struct MailAttachment {
  std::string name;  // the attachment's display name, as the store has it
  // Reads the attachment's bytes. Called at most once, while the message is
  // written; a failure costs only this attachment (it is reported and left out).
  std::function<Result<std::string>()> load;
};

struct MailItem {
  // The item's key (lower-case hexadecimal); names the files written for it
  // and derives a Message-ID when the item has none. Never empty.
  std::string key;
  MailAddress sender;
  std::vector<MailAddress> recipients;
  std::string subject;  // empty stays empty
  // Seconds since 1970-01-01 UTC; none when the item has no date.
  std::optional<int64_t> date;
  // The original Message-ID with or without angle brackets; empty: none.
  std::string message_id;
  // The original Internet header block (RFC 5322 lines); empty: none. Its
  // fields are kept, except those that describe the MIME structure, which is
  // rebuilt.
  std::string internet_headers;
  // The body in the forms the item has; either or both may be empty.
  std::string body_text;
  std::string body_html;
  std::vector<MailAttachment> attachments;
};

}  // namespace edb
