// Turns a MailItem into one RFC 5322 / MIME message (LF line ends, as
// Maildir and mbox keep them), built with GMime 3:
//   - From, To, Subject (RFC 2047 where not ASCII), Date, Message-ID (the
//     item's own, else one derived from its key), MIME-Version;
//   - the body as the item has it: text and HTML as multipart/alternative
//     (a text part made from the HTML when the item has no text), or the
//     one text/plain part; UTF-8 where not ASCII;
//   - each attachment as a part of multipart/mixed, named (RFC 2231 where
//     not ASCII), typed by its name's extension, base64;
//   - the item's original Internet header fields that the message does not
//     set itself (Received, Cc, Reply-To, References...) kept verbatim,
//     except those describing the original MIME structure.
// Thread-safe once GMime is initialised (ComposeMessage does that once).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "export/mail_item.h"

namespace edb {

struct ComposedMessage {
  std::string bytes;
  // Attachments that are in the message.
  int attachments_written = 0;
  // One line per attachment whose data could not be read (left out).
  std::vector<std::string> problems;
};

ComposedMessage ComposeMessage(const MailItem& item);

// The Message-ID given to an item without one: "<edb.KEY@edbrecover.invalid>".
std::string DerivedMessageId(std::string_view key);

// The MIME type for an attachment name, by its extension (case-insensitive);
// "application/octet-stream" when unknown.
std::string MimeTypeOfName(std::string_view name);

// Plain text for an HTML body: tags dropped, line breaks at <br>, </p>,
// </div>, </tr> and </li>, the common entities decoded, blank runs folded.
std::string HtmlToText(std::string_view html);

}  // namespace edb
