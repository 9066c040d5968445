// Store texts to export items.
#include "export/store_item_conversion.h"

#include <ctime>

#include "export/mime_message.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

constexpr std::u16string_view kUnknown = u"Unknown";

std::string Trimmed(std::string text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string Utf8(const std::optional<std::u16string>& text) { return text ? Utf16ToUtf8(*text) : std::string(); }

const std::u16string* Cell(const std::vector<std::u16string>& cells, size_t column) {
  return column < cells.size() && !cells[column].empty() ? &cells[column] : nullptr;
}

std::string CellText(const std::vector<std::u16string>& cells, size_t column) {
  const std::u16string* cell = Cell(cells, column);
  return cell != nullptr && *cell != kUnknown ? Utf16ToUtf8(*cell) : std::string();
}

// The word with an "@" in `text`, without the characters around addresses.
std::string AddressIn(const std::string& text) {
  const size_t at = text.find('@');
  if (at == std::string::npos) return "";
  size_t start = text.find_last_of(" \t;,<", at);
  start = start == std::string::npos ? 0 : start + 1;
  size_t end = text.find_first_of(" \t;,>", at);
  if (end == std::string::npos) end = text.size();
  return text.substr(start, end - start);
}

}  // namespace

MailAddress SenderOf(std::u16string_view text) {
  if (text.empty() || text == kUnknown) return {};
  const std::string sender = Utf16ToUtf8(text);
  MailAddress address;
  const size_t open = sender.rfind('<');
  const size_t close = sender.rfind('>');
  if (open != std::string::npos && close != std::string::npos && open < close &&
      sender.substr(open, close - open).find('@') != std::string::npos) {
    address.address = sender.substr(open + 1, close - open - 1);
  } else {
    address.address = AddressIn(sender);
  }
  // The reader writes the display name first, then ";" and the parsed form.
  const size_t separator = sender.find(';');
  address.name = Trimmed(separator == std::string::npos
                             ? (open != std::string::npos && open < close ? sender.substr(0, open) : sender)
                             : sender.substr(0, separator));
  if (address.address.empty() && address.name.empty()) address.name = Trimmed(sender);
  if (address.name == address.address) address.name.clear();
  return address;
}

std::vector<MailAddress> RecipientsOf(std::u16string_view text) {
  std::vector<MailAddress> recipients;
  if (text == kUnknown) return recipients;
  const std::string all = Utf16ToUtf8(text);
  const char separator = all.find('@') != std::string::npos ? ',' : ';';
  size_t pos = 0;
  while (pos <= all.size()) {
    size_t end = all.find(separator, pos);
    if (end == std::string::npos) end = all.size();
    const std::string entry = Trimmed(all.substr(pos, end - pos));
    pos = end + 1;
    if (entry.empty()) continue;
    if (entry.find('@') != std::string::npos) {
      recipients.push_back({"", AddressIn(entry)});
    } else {
      recipients.push_back({entry, ""});
    }
  }
  return recipients;
}

std::optional<int64_t> DateOf(std::u16string_view text) {
  if (text.empty() || text == kUnknown) return std::nullopt;
  const std::string date = Utf16ToUtf8(text);
  std::tm parts{};
  const char* end = strptime(date.c_str(), "%b %d, %Y %H:%M:%S", &parts);
  if (end == nullptr || *end != '\0') return std::nullopt;
  return static_cast<int64_t>(timegm(&parts));
}

void BodyOf(const std::vector<const BodyChunk*>& chunks, std::string* text, std::string* html) {
  const BodyChunk* plain = nullptr;
  const BodyChunk* rtf_text = nullptr;
  const BodyChunk* html_body = nullptr;
  const BodyChunk* rtf_html = nullptr;
  for (const BodyChunk* chunk : chunks) {
    if (chunk == nullptr || chunk->text.empty()) continue;
    switch (chunk->column) {
      case BodyColumn::kPlainText:
        if (plain == nullptr) plain = chunk;
        break;
      case BodyColumn::kHtml:
        if (html_body == nullptr) html_body = chunk;
        break;
      case BodyColumn::kCompressedRtf:
        if (chunk->kind == BodyKind::kHtml) {
          if (rtf_html == nullptr) rtf_html = chunk;
        } else if (rtf_text == nullptr) {
          rtf_text = chunk;
        }
        break;
    }
  }
  // The same order as the preview's: the RTF's text before "S1000".
  const BodyChunk* chosen_text = rtf_text != nullptr ? rtf_text : plain;
  const BodyChunk* chosen_html = html_body != nullptr ? html_body : rtf_html;
  *text = chosen_text != nullptr ? Utf16ToUtf8(chosen_text->text) : std::string();
  *html = chosen_html != nullptr ? Utf16ToUtf8(chosen_html->text) : std::string();
}

MailItem MailItemOf(const ItemContent& item, const std::vector<const BodyChunk*>& chunks,
                    const std::vector<AttachmentEntry>& attachments) {
  MailItem mail;
  mail.key = item.key ? Utf16ToUtf8(*item.key) : std::string();
  mail.sender = SenderOf(item.sender);
  if (item.recipients) mail.recipients = RecipientsOf(*item.recipients);
  mail.subject = item.subject == kUnknown ? std::string() : Utf16ToUtf8(item.subject);
  mail.date = DateOf(item.date);
  BodyOf(chunks, &mail.body_text, &mail.body_html);
  for (size_t entry : item.attachment_entries) {
    if (entry >= attachments.size()) continue;
    const AttachmentEntry& attachment = attachments[entry];
    mail.attachments.push_back({Utf8(attachment.name), nullptr});
  }
  return mail;
}

ContactItem ContactItemOf(const ContactContent& contact) {
  const ContactSlots& slots = contact.slots;
  ContactItem item;
  item.key = Utf8(contact.key());
  item.full_name = Utf8(slots[8]);
  // By the MAPI properties behind the columns: 0x3A06 is the given name and
  // 0x3A11 the surname (whatever labels the contact page gives them), 0x3A09
  // the home telephone number.
  item.given_name = Utf8(slots[14]);
  item.middle_name = Utf8(slots[4]);
  item.surname = Utf8(slots[13]);
  item.company = Utf8(slots[3]);
  item.title = Utf8(slots[7]);
  item.email = Utf8(slots[68]);
  item.mobile_phone = Utf8(slots[10]);
  item.business_fax = Utf8(slots[17]);
  item.home_phone = Utf8(slots[15]);
  item.business_home_page = Utf8(slots[33]);
  ContactAddress& business = item.business_address;
  business.street = slots[50] ? Utf8(slots[50]) : Utf8(slots[38]);
  business.city = slots[47] ? Utf8(slots[47]) : Utf8(slots[39]);
  business.region = slots[49] ? Utf8(slots[49]) : Utf8(slots[41]);
  business.postal_code = Utf8(slots[51]);
  business.country = slots[48] ? Utf8(slots[48]) : Utf8(slots[40]);
  if (business.empty()) business.street = Utf8(slots[5]);
  ContactAddress& home = item.home_address;
  home.street = Utf8(slots[12]);
  home.city = Utf8(slots[28]);
  home.region = Utf8(slots[37]);
  home.postal_code = Utf8(slots[36]);
  home.country = Utf8(slots[35]);
  if (contact.html()) item.note = HtmlToText(Utf16ToUtf8(*contact.html()));
  return item;
}

std::optional<CalendarItem> CalendarItemOfRow(ItemFamily family, const std::vector<std::u16string>& cells) {
  const std::string key = CellText(cells, 0);
  if (key.empty()) return std::nullopt;
  CalendarItem item;
  item.key = key;
  item.summary = CellText(cells, 4);
  const std::u16string* start = Cell(cells, 5);
  if (start != nullptr) item.start = DateOf(*start);
  switch (family) {
    case ItemFamily::kAppointment: {
      item.kind = CalendarKind::kEvent;
      if (const std::u16string* end = Cell(cells, 6)) item.end = DateOf(*end);
      item.location = CellText(cells, 7);
      const MailAddress organizer = SenderOf(cells.size() > 3 ? cells[3] : u"");
      item.organizer = organizer.address.empty() ? organizer.name : organizer.name + " <" + organizer.address + ">";
      return item;
    }
    case ItemFamily::kTask:
      item.kind = CalendarKind::kTask;
      if (const std::u16string* end = Cell(cells, 6)) item.end = DateOf(*end);
      item.description = CellText(cells, 7);
      return item;
    case ItemFamily::kJournal:
    case ItemFamily::kActivity:
      item.kind = CalendarKind::kJournal;
      item.organizer = CellText(cells, 3);
      return item;
    default:
      return std::nullopt;
  }
}

std::optional<MailItem> NoteItemOfRow(const std::vector<std::u16string>& cells) {
  const std::string key = CellText(cells, 0);
  if (key.empty()) return std::nullopt;
  MailItem note;
  note.key = key;
  note.subject = CellText(cells, 4);
  note.body_text = note.subject;
  if (const std::u16string* date = Cell(cells, 5)) note.date = DateOf(*date);
  note.sender = SenderOf(cells.size() > 3 ? cells[3] : u"");
  return note;
}

}  // namespace edb
