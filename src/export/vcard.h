// One contact as a vCard 3.0 (RFC 2426): FN and N always (a card with no
// field filled is still a card), then ORG, TITLE, EMAIL, TEL by type,
// ADR and LABEL-free structured addresses (work, home), URL, NOTE and a UID
// from the item's key. Texts are escaped ("\\", ",", ";", new lines) and
// lines folded at 75 octets without splitting a UTF-8 character; CRLF line
// ends, as the RFC asks. Pure function; thread-safe.
#pragma once

#include <string>

#include "export/contact_item.h"

namespace edb {

std::string ComposeVCard(const ContactItem& contact);

}  // namespace edb
