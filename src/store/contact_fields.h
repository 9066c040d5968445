// The contact fields an item-content read collects from a Msg record, the
// HTML page a contact previews as, and the numbered slots of a contact's
// content record.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace edb {

// Number of text slots of a contact's content record (slot 0 is unused so
// that slots keep their customary 1-based numbers; slot 69 is never set).
constexpr int kContactSlotCount = 70;
constexpr int kContactKeySlot = 1;
constexpr int kContactHtmlSlot = 67;

using ContactSlots = std::array<std::optional<std::u16string>, kContactSlotCount>;

// Fields are matched on the first five characters of a column name, in a
// fixed order; the first match decides ("S82a0x" counts as "S82a0").
// Returns the field's index, or -1 for a column that is no contact field.
int ContactFieldOf(std::u16string_view column_name);

// Collects the field texts of one contact as its record is read.
class ContactFieldValues {
 public:
  // Records the text of field `field` (from ContactFieldOf). Two columns
  // that share a field (home address "S8095"/"S80a7", business postal code
  // "S809e"/"S3a2a") keep the text of the one read last; a column that
  // yields no text never erases one read before.
  void Set(int field, std::optional<std::u16string> text);

  // "<br>", then for every labelled field that has a text, in display
  // order: label, text, "<br>". Texts are inserted as they stand.
  std::u16string Html() const;

  // The content record's slots: the key in slot 1, field texts in their
  // slots, the HTML in slot 67; every other slot empty.
  ContactSlots Slots(const std::optional<std::u16string>& key) const;

 private:
  std::array<std::optional<std::u16string>, 40> texts_;
};

}  // namespace edb
