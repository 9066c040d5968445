// From the store model to what the export writers take: the texts the store
// reader keeps for an item (UTF-16, in the forms the list and preview show)
// become the UTF-8 fields of a MailItem, ContactItem or CalendarItem.
// Pure functions; thread-safe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/body_chunk.h"
#include "export/calendar_item.h"
#include "export/contact_item.h"
#include "export/mail_item.h"
#include "store/attachment_entry.h"
#include "store/item_content.h"
#include "store/item_family.h"

namespace edb {

// A sender text as the store reader parses it ("Name;Name<a@b>",
// "Name; Name smtp a@b ", "a@b;a@b", or a bare name): the first name and the
// address. Every character of the name is kept (slashes, brackets, commas).
// The reader's placeholder "Unknown" is no sender.
MailAddress SenderOf(std::u16string_view text);

// A recipients text ("a@b,c@d," or display names separated by ";"): one
// address per entry with an "@", a name otherwise.
std::vector<MailAddress> RecipientsOf(std::u16string_view text);

// A date as the store reader renders it ("Jan 05, 2004 13:07:09", UTC), as
// seconds since 1970; none for anything else ("Unknown" included).
std::optional<int64_t> DateOf(std::u16string_view text);

// The body of an item among its chunks, in the order the preview picks:
// `html` from "N1013" (else the HTML the RTF holds), `text` the RTF reduced
// to text (else "S1000").
void BodyOf(const std::vector<const BodyChunk*>& chunks, std::string* text, std::string* html);

// The mail item of `item` and its body chunks. Its attachments are the
// item's own entries of `attachments` (the scan's list), named as there
// (the identifier when there is no name); their loaders are left empty for
// the caller to set.
MailItem MailItemOf(const ItemContent& item, const std::vector<const BodyChunk*>& chunks,
                    const std::vector<AttachmentEntry>& attachments);

// The contact of `contact`'s slots, its text (the contact page, slot 67)
// as the note in plain text.
ContactItem ContactItemOf(const ContactContent& contact);

// An appointment, task or journal entry from the cells of its list row
// (key, class, number, from, subject, then the family's columns). Nullopt
// for other families or a row without a key.
std::optional<CalendarItem> CalendarItemOfRow(ItemFamily family, const std::vector<std::u16string>& cells);

// A note from the cells of its list row, as a message whose subject and
// body are the note's text. Nullopt for a row without a key.
std::optional<MailItem> NoteItemOfRow(const std::vector<std::u16string>& cells);

}  // namespace edb
