// List cells and entries of header rows.
#include "store/list_row.h"

#include "store/mailbox_handler.h"

namespace edb {
namespace {

std::u16string TextOf(const std::optional<std::u16string>& text) { return text.value_or(u""); }

std::u16string NumberText(int32_t number) {
  std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string OrUnknown(const std::u16string& text) {
  return text.empty() ? std::u16string(kUnknownText) : text;
}

}  // namespace

ListRow::ListRow(ListRowTexts header_texts, int32_t row_number)
    : texts(std::move(header_texts)),
      number(row_number),
      subject(SubjectText(texts)),
      from(FromText(texts)),
      message_class(TextOf(texts.message_class)) {}

std::vector<std::u16string> ListRowCells(ItemFamily family, const ListRow& row) {
  const ListRowTexts& t = row.texts;
  std::vector<std::u16string> cells = {TextOf(t.key), row.message_class, NumberText(row.number)};
  auto add = [&cells](std::initializer_list<std::u16string> more) { cells.insert(cells.end(), more); };
  switch (family) {
    case ItemFamily::kMail:
    case ItemFamily::kJournal:
      add({row.from, row.subject, TextOf(t.submit_time), TextOf(t.has_attachments)});
      break;
    case ItemFamily::kContact:
      add({row.subject, row.subject, row.subject, TextOf(t.home_phone), TextOf(t.business_phone),
           TextOf(t.mobile_phone), TextOf(t.postal_address), TextOf(t.email_address), TextOf(t.submit_time)});
      break;
    case ItemFamily::kAppointment:
      add({row.from, row.subject, TextOf(t.submit_time), TextOf(t.delivery_time), TextOf(t.location)});
      break;
    case ItemFamily::kNote:
    case ItemFamily::kActivity:
      add({row.from, row.subject, TextOf(t.submit_time), TextOf(t.delivery_time), TextOf(t.delivery_time)});
      break;
    case ItemFamily::kTask:
      add({row.from, row.subject, TextOf(t.submit_time), TextOf(t.delivery_time), TextOf(t.plain_body)});
      break;
    case ItemFamily::kNone:
      return {};
  }
  return cells;
}

MessageEntry MessageEntryOf(const ListRow& row) {
  MessageEntry entry;
  entry.number = row.number;
  entry.key = row.texts.key;
  entry.sender = OrUnknown(row.from);
  entry.subject = OrUnknown(row.subject);
  entry.date = OrUnknown(TextOf(row.texts.submit_time));
  entry.attachments = row.texts.has_attachments;
  return entry;
}

ContactEntry ContactEntryOf(const ListRow& row) { return ContactEntry{row.texts.key, row.texts.message_class}; }

}  // namespace edb
