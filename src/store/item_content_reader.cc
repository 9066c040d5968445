// Reading one Msg record into the opened folder's content lists.
#include "store/item_content_reader.h"

#include <libesedb.h>

#include <exception>

#include "body/body_column.h"
#include "store/address_parsing.h"
#include "store/ansi_text.h"
#include "store/binary_readings.h"
#include "store/byte_order.h"
#include "store/byte_text.h"
#include "store/contact_fields.h"
#include "store/record_value.h"
#include "store/text_encoding.h"
#include "store/value_text.h"

namespace edb {
namespace {

// Longest column name accepted, terminator included.
constexpr size_t kMaxColumnNameUnits = 256;
// Identifier texts of 15 characters or fewer name no attachment.
constexpr size_t kShortestAttachmentIds = 16;

using Text = std::optional<std::u16string>;

bool StartsWith5(std::u16string_view name, std::u16string_view prefix) {
  return name.size() >= 5 && name.substr(0, 5) == prefix;
}

bool IsBinaryType(uint32_t type) { return type == ese_type::kBinary || type == ese_type::kLongBinary; }
bool IsTextType(uint32_t type) { return type == ese_type::kText || type == ese_type::kLongText; }

// The text of a named column. A value kept as a long value is read whole:
// text in its column's code page (1200: UTF-16LE, otherwise Windows-1252),
// cleaned as every text value is; binary as hexadecimal text. Anything else
// as ValueText without default.
Text NamedColumnText(const RecordRef& ref, int value, uint32_t type, uint32_t code_page) {
  uint8_t flags = 0;
  if (libesedb_record_get_value_data_flags(ref.record, value, &flags, nullptr) != 1) return std::nullopt;
  if (ReadingOfFlags(flags) != ValueReading::kLongValue) return ValueText(ref, value, std::nullopt);
  std::optional<std::vector<uint8_t>> bytes = LongValueBytes(ref, value);
  if (!bytes || bytes->empty()) return std::nullopt;
  if (IsTextType(type)) {
    std::u16string text = code_page == 1200 ? Utf16LeBytesToText(bytes->data(), bytes->size())
                                            : Windows1252ToUtf16({reinterpret_cast<const char*>(bytes->data()),
                                                                  bytes->size()});
    return CleanText(text);
  }
  return HexText(*bytes);
}

}  // namespace

// What one record yields while its values are read.
struct ItemContentReader::RecordTexts {
  ByteOrder order = ByteOrder::kLittleEndian;
  Text key;
  Text raw_recipients;       // "N67b4" as text
  Text fallback_recipients;  // "S8299"
  Text attachment_ids;       // "N67b3", when longer than 15 characters
  ContactFieldValues contact;
};

ItemContentReader::ItemContentReader(FolderContents* contents, const std::vector<AttachmentEntry>& attachments,
                                     const LongValueProvider* code_pages, CorruptionReporter& corruption)
    : contents_(contents),
      attachments_(attachments),
      code_pages_(code_pages),
      corruption_(corruption),
      extract_recipients_(ExtractRecipientAddresses) {}

void ItemContentReader::SetCurrentHeader(std::u16string sender, std::u16string subject, std::u16string date) {
  sender_ = std::move(sender);
  subject_ = std::move(subject);
  date_ = std::move(date);
}

int ItemContentReader::ReadItem(const RecordRef& ref, WindowPort& window) {
  (void)window;
  record_chunks_.Clear();
  if (ref.record == nullptr) return -1;
  int count = 0;
  if (libesedb_record_get_number_of_values(ref.record, &count, nullptr) != 1 || count <= 0) return -1;
  RecordTexts texts;
  for (int value = 0; value < count; ++value) {
    if (!ReadValue(ref, value, &texts)) {
      record_chunks_.Clear();
      return -1;
    }
  }
  if (family_ == ItemFamily::kMail) {
    KeepMail(texts);
  } else if (family_ == ItemFamily::kContact) {
    KeepContact(texts);
  }
  record_chunks_.Clear();
  return 1;
}

// Reads the name and type of value `value` and applies the rendering rules:
// short-named currency and binary columns by their first letter, then the
// named columns, then body extraction for everything else.
bool ItemContentReader::ReadValue(const RecordRef& ref, int value, RecordTexts* texts) {
  size_t size = 0;
  if (libesedb_record_get_utf16_column_name_size(ref.record, value, &size, nullptr) != 1 ||
      size > kMaxColumnNameUnits) {
    return false;
  }
  name_units_.assign(size + 1, 0);
  if (size > 0 &&
      libesedb_record_get_utf16_column_name(ref.record, value, name_units_.data(), size, nullptr) != 1) {
    return false;
  }
  size_t length = 0;
  while (length < size && name_units_[length] != 0) ++length;
  column_name_.assign(name_units_.begin(), name_units_.begin() + length);
  uint32_t type = 0;
  if (libesedb_record_get_column_type(ref.record, value, &type, nullptr) != 1) return false;

  const std::u16string& name = column_name_;
  const bool short_name = length >= 1 && length <= 6;
  if (type == ese_type::kCurrency && short_name && (name[0] == u'T' || name[0] == u'Q')) {
    // Dates and identifiers: nothing of the item is made of them.
    return true;
  }
  if (IsBinaryType(type) && short_name && name[0] != u'L') {
    if (name[0] == u'S') {
      // Named text columns kept as binary still give their text.
      if (StartsWith5(name, u"S8299")) {
        texts->fallback_recipients = BinaryAnsiText(ref, value);
      } else if (family_ == ItemFamily::kContact) {
        const int field = ContactFieldOf(name);
        if (field >= 0) texts->contact.Set(field, BinaryAnsiText(ref, value));
      }
      return true;
    }
    if (name[0] == u'T') return true;
    if (name[0] == u'Q' || StartsWith5(name, u"N67b0")) {
      texts->order = ByteOrder::kBigEndian;
      Text text = IdentifierText(ref, value, texts->order, std::nullopt);
      if (StartsWith5(name, u"N67b0")) texts->key = std::move(text);
      return true;
    }
    if (length == 5 && (name == u"N300b" || name == u"N6720")) return true;
  }
  ReadNamedOrBody(ref, value, type, texts);
  return true;
}

void ItemContentReader::ReadNamedOrBody(const RecordRef& ref, int value, uint32_t type, RecordTexts* texts) {
  const std::u16string& name = column_name_;
  const int field = ContactFieldOf(name);
  if (field >= 0) {
    if (family_ == ItemFamily::kContact) texts->contact.Set(field, NamedColumnText(ref, value, type, CodePageOf(name)));
    return;
  }
  if (StartsWith5(name, u"S8299")) {
    texts->fallback_recipients = IsBinaryType(type) ? BinaryAnsiText(ref, value)
                                                    : NamedColumnText(ref, value, type, CodePageOf(name));
    return;
  }
  if (StartsWith5(name, u"N67b3")) {
    Text ids = NamedColumnText(ref, value, type, 0);
    if (ids && ids->size() >= kShortestAttachmentIds) texts->attachment_ids = std::move(ids);
    return;
  }
  if (StartsWith5(name, u"N67b4")) {
    texts->raw_recipients = NamedColumnText(ref, value, type, 0);
    return;
  }
  BodyColumn column;
  if (BodyColumnOfName(name, &column)) {
    ExtractBodyColumn(ref, value, name, current_key_, CodePageOf(name), &record_chunks_, &corruption_);
  }
  // A column named "N67b0…" that is not an identifier gives no key.
}

uint32_t ItemContentReader::CodePageOf(const std::u16string& column_name) {
  if (code_pages_ == nullptr) return 0;
  auto it = code_page_cache_.find(column_name);
  if (it != code_page_cache_.end()) return it->second;
  const int code_page = code_pages_->ColumnCodePage(u"Msg", column_name);
  const uint32_t known = code_page > 0 ? static_cast<uint32_t>(code_page) : 0;
  code_page_cache_.emplace(column_name, known);
  return known;
}

void ItemContentReader::KeepMail(RecordTexts& texts) {
  ItemContent item;
  item.key = std::move(texts.key);
  std::vector<const BodyChunk*> chunks;
  for (const BodyChunk& chunk : record_chunks_.chunks()) chunks.push_back(&chunk);
  const BodyChunk* body = PickItemBody(chunks);
  item.body_kind = body == nullptr ? BodyKind::kEmpty : body->kind;
  item.recipients = RecipientsOf(texts);
  item.attachments = AttachmentNamesOf(texts);
  item.sender = sender_;
  item.subject = subject_;
  item.date = date_;
  contents_->AddItem(std::move(item), record_chunks_);
}

void ItemContentReader::KeepContact(RecordTexts& texts) {
  ContactContent contact;
  contact.slots = texts.contact.Slots(texts.key);
  contents_->AddContact(std::move(contact));
}

// The addresses of the recipient text; its fallback when there is no
// recipient text or the extraction fails in any way.
std::optional<std::u16string> ItemContentReader::RecipientsOf(const RecordTexts& texts) const {
  if (!texts.raw_recipients) return texts.fallback_recipients;
  try {
    Text extracted = extract_recipients_(*texts.raw_recipients);
    if (extracted) return extracted;
  } catch (const std::exception&) {
    // An extraction that throws is treated as one that failed.
  }
  return texts.fallback_recipients;
}

std::optional<std::u16string> ItemContentReader::AttachmentNamesOf(const RecordTexts& texts) {
  if (!texts.attachment_ids) return std::nullopt;
  if (!attachment_index_) attachment_index_ = std::make_unique<AttachmentNameIndex>(attachments_);
  Text names = attachment_index_->NamesOf(*texts.attachment_ids);
  if (names && names->empty()) return std::nullopt;
  return names;
}

}  // namespace edb
