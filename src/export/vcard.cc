// vCard 3.0 text of a contact.
#include "export/vcard.h"

#include <string_view>

namespace edb {
namespace {

std::string Escape(std::string_view text) {
  std::string escaped;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' || c == ',' || c == ';') {
      escaped += '\\';
      escaped += c;
    } else if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      escaped += "\\n";
    } else if (c == '\n') {
      escaped += "\\n";
    } else if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
      continue;  // other control characters have no place in a card
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// Appends `line` folded at 75 octets (never inside a UTF-8 sequence), CRLF.
void AppendFolded(std::string* card, std::string_view line) {
  size_t width = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    const bool starts_character = (c & 0xC0) != 0x80;
    if (starts_character && width >= 74) {
      *card += "\r\n ";
      width = 1;
    }
    *card += static_cast<char>(c);
    ++width;
  }
  *card += "\r\n";
}

void AddText(std::string* card, std::string_view property, std::string_view text) {
  if (text.empty()) return;
  AppendFolded(card, std::string(property) + ":" + Escape(text));
}

void AddAddress(std::string* card, std::string_view type, const ContactAddress& address) {
  if (address.empty()) return;
  // ADR: post office box; extended address; street; locality; region; postal code; country.
  AppendFolded(card, "ADR;TYPE=" + std::string(type) + ":;;" + Escape(address.street) + ";" +
                         Escape(address.city) + ";" + Escape(address.region) + ";" +
                         Escape(address.postal_code) + ";" + Escape(address.country));
}

std::string FullNameOf(const ContactItem& contact) {
  if (!contact.full_name.empty()) return contact.full_name;
  std::string name;
  for (const std::string* part : {&contact.given_name, &contact.middle_name, &contact.surname}) {
    if (part->empty()) continue;
    if (!name.empty()) name += ' ';
    name += *part;
  }
  if (name.empty()) name = !contact.company.empty() ? contact.company : contact.email;
  return name;
}

}  // namespace

std::string ComposeVCard(const ContactItem& contact) {
  std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
  AppendFolded(&card, "FN:" + Escape(FullNameOf(contact)));
  AppendFolded(&card, "N:" + Escape(contact.surname) + ";" + Escape(contact.given_name) + ";" +
                          Escape(contact.middle_name) + ";;");
  AddText(&card, "ORG", contact.company);
  AddText(&card, "TITLE", contact.title);
  AddText(&card, "EMAIL;TYPE=INTERNET", contact.email);
  AddText(&card, "TEL;TYPE=CELL", contact.mobile_phone);
  AddText(&card, "TEL;TYPE=HOME,VOICE", contact.home_phone);
  AddText(&card, "TEL;TYPE=WORK,VOICE", contact.business_phone);
  AddText(&card, "TEL;TYPE=WORK,FAX", contact.business_fax);
  AddAddress(&card, "WORK", contact.business_address);
  AddAddress(&card, "HOME", contact.home_address);
  AddText(&card, "URL", contact.home_page);
  if (contact.business_home_page != contact.home_page) AddText(&card, "URL;TYPE=WORK", contact.business_home_page);
  AddText(&card, "NOTE", contact.note);
  AddText(&card, "UID", "edb-" + contact.key);
  card += "END:VCARD\r\n";
  return card;
}

}  // namespace edb
