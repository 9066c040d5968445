// Contact fields, their labels and slots, and the contact HTML.
#include "store/contact_fields.h"

#include "store/html_escape.h"

namespace edb {
namespace {

// A field: the group it stores into (columns sharing a group share a
// text), the HTML display position (0 = not shown) and label, and the slots.
struct FieldRule {
  const char16_t* column;
  int group;
  int display;  // 1-based display order, 0 when the field has no label
  const char16_t* label;
  int slot;        // 0 when the field fills no slot
  int extra_slot;  // a second slot with the same text, or 0
};

// In matching order. Groups are numbered by display order; unlabelled
// "S3a29" uses group 34, and the three recipient/attachment columns are
// not contact fields (they are claimed by the item reader first).
constexpr FieldRule kFields[] = {
    {u"S82a0", 1, 1, u"<b>Full Name: </b>", 8, 0},
    {u"S829f", 14, 14, u"<b>Display_as: </b>", 0, 0},
    {u"S81c2", 15, 15, u"<b>File_as2: </b>", 0, 0},
    {u"S81b0", 5, 5, u"<b>E-Mail: </b>", 68, 0},
    {u"S81af", 16, 16, u"<b>Display_as2: </b>", 0, 0},
    {u"S3a28", 17, 17, u"<b>State: </b>", 41, 0},
    {u"S3a27", 18, 18, u"<b>City: </b>", 39, 0},
    {u"S3a26", 19, 19, u"<b>Country: </b>", 40, 0},
    {u"S3a17", 6, 6, u"<b>Job Title: </b>", 7, 0},
    {u"S3a1c", 7, 7, u"<b>Mobile No: </b>", 10, 0},
    {u"S80a7", 28, 28, u"<b>Home Address: </b>", 12, 0},
    {u"S80a6", 20, 20, u"<b>Business Street: </b>", 50, 0},
    {u"S808d", 21, 21, u"<b>Business Country: </b>", 48, 0},
    {u"S3a2a", 25, 25, u"<b>Business Postal Code: </b>", 51, 0},
    {u"S3a29", 34, 0, nullptr, 38, 0},
    {u"S3a24", 8, 8, u"<b>Business Fax No: </b>", 17, 0},
    {u"S3a09", 9, 9, u"<b>Home Page: </b>", 15, 0},
    {u"S3a51", 10, 10, u"<b>Personal Home Page: </b>", 0, 0},
    {u"S8241", 11, 11, u"<b>Business Homepage: </b>", 33, 34},
    {u"S3a16", 12, 12, u"<b>Company Name: </b>", 3, 0},
    {u"S3a15", 13, 13, u"<b>Business Address: </b>", 5, 0},
    {u"S3a44", 3, 3, u"<b>Middle Name: </b>", 4, 0},
    {u"S3a11", 2, 2, u"<b>First Name: </b>", 13, 0},
    {u"S3a06", 4, 4, u"<b>Last Name: </b>", 14, 0},
    {u"S3a08", 22, 22, u"<b>Business Phone: </b>", 0, 0},
    {u"S80a5", 24, 24, u"<b>Business State: </b>", 49, 0},
    {u"S809e", 25, 25, u"<b>Business Postal Code: </b>", 51, 0},
    {u"S8097", 26, 26, u"<b>Business City: </b>", 47, 0},
    {u"S3a0a", 27, 27, u"<b>Initials: </b>", 0, 0},
    {u"S8095", 28, 28, u"<b>Home Address: </b>", 12, 0},
    {u"S3a5d", 29, 29, u"<b>Home Address Street: </b>", 0, 0},
    {u"S3a5c", 30, 30, u"<b>Home Address State </b>", 37, 0},
    {u"S3a59", 31, 31, u"<b>Home Address City: </b>", 28, 0},
    {u"S3a5b", 32, 32, u"<b>Home Address Postal Code: </b>", 36, 0},
    {u"S3a5a", 33, 33, u"<b>Home Address Country: </b>", 35, 0},
    {u"S3a1b", 23, 23, u"<b>Business Phone 2: </b>", 0, 0},
};
constexpr int kFieldCount = static_cast<int>(sizeof(kFields) / sizeof(kFields[0]));
constexpr int kDisplayRows = 33;

}  // namespace

int ContactFieldOf(std::u16string_view column_name) {
  if (column_name.size() < 5) return -1;
  std::u16string_view prefix = column_name.substr(0, 5);
  for (int i = 0; i < kFieldCount; ++i) {
    if (prefix == kFields[i].column) return i;
  }
  return -1;
}

void ContactFieldValues::Set(int field, std::optional<std::u16string> text) {
  if (field < 0 || field >= kFieldCount || !text) return;
  texts_[kFields[field].group] = std::move(text);
}

std::u16string ContactFieldValues::Html() const {
  std::u16string html = u"<br>";
  for (int display = 1; display <= kDisplayRows; ++display) {
    const std::optional<std::u16string>& text = texts_[display];
    if (!text) continue;
    for (const FieldRule& rule : kFields) {
      if (rule.display != display) continue;
      html += rule.label;
      html += HtmlEscaped(*text);
      html += u"<br>";
      break;
    }
  }
  return html;
}

ContactSlots ContactFieldValues::Slots(const std::optional<std::u16string>& key) const {
  ContactSlots slots;
  slots[kContactKeySlot] = key;
  for (const FieldRule& rule : kFields) {
    const std::optional<std::u16string>& text = texts_[rule.group];
    if (rule.slot != 0) slots[rule.slot] = text;
    if (rule.extra_slot != 0) slots[rule.extra_slot] = text;
  }
  slots[kContactHtmlSlot] = Html();
  return slots;
}

}  // namespace edb
