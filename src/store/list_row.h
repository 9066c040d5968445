// What one header row of the open folder becomes: the cells of its list row
// by item family, and the MessageEntry or ContactEntry kept for mail and
// contacts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/contact_entry.h"
#include "store/list_row_texts.h"
#include "store/item_family.h"
#include "store/message_entry.h"

namespace edb {

// A header row ready to be listed: its texts, the running row number, and
// the subject and From texts made of them.
struct ListRow {
  ListRow(ListRowTexts texts, int32_t number);

  ListRowTexts texts;
  int32_t number = 0;
  std::u16string subject;
  std::u16string from;
  // The "S1a" text, empty when absent.
  std::u16string message_class;
};

// The cells of the row's list line for `family`, column 0 first (absent
// texts are empty):
//   0 key, 1 message class, 2 row number, then
//   mail:        From, subject, "T39", "Be1b"
//   contact:     subject, subject, subject, "S3a09", "S3a08", "S3a1c",
//                "S3a15", "S81b0", "T39"
//   appointment: From, subject, "T39", "Te06", "S80fd"
//   note, activity: From, subject, "T39", "Te06", "Te06"
//   task:        From, subject, "T39", "Te06", "S1000"
//   journal:     From, subject, "T39", "Be1b"
// No cells for kNone.
std::vector<std::u16string> ListRowCells(ItemFamily family, const ListRow& row);

// The MessageEntry of a mail row: a missing sender, subject or date is
// stored as "Unknown".
MessageEntry MessageEntryOf(const ListRow& row);

// The ContactEntry of a contact row: its key and message class.
ContactEntry ContactEntryOf(const ListRow& row);

}  // namespace edb
