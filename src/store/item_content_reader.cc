// Reading one Msg record into the opened folder's content lists.
#include "store/item_content_reader.h"


#include <exception>

#include "store/body_column.h"
#include "store/address_parsing.h"
#include "store/ansi_text.h"
#include "store/binary_readings.h"
#include "base/byte_order.h"
#include "store/byte_text.h"
#include "store/contact_fields.h"
#include "store/record_value.h"
#include "base/text_encoding.h"
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

bool IsBinaryType(uint32_t type) { return type == ese::column_type::kBinary || type == ese::column_type::kLongBinary; }
bool IsTextType(uint32_t type) { return type == ese::column_type::kText || type == ese::column_type::kLongText; }

// The text of a named column. A value kept as a long value is read whole:
// text in its column's code page (1200: UTF-16LE, otherwise Windows-1252),
// cleaned as every text value is; binary as hexadecimal text. Anything else
// as ValueText without default.
Text NamedColumnText(const RecordRef& ref, int value, uint32_t type, uint32_t code_page) {
  RecordValue stored;
  if (!ReadRecordValue(ref, value, &stored)) return std::nullopt;
  if (ReadingOfFlags(stored.flags) != ValueReading::kLongValue) return ValueText(ref, value, std::nullopt);
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
  ChunkRange chunks;  // the record's body chunks in the folder's list
};

ItemContentReader::ItemContentReader(FolderContents* contents, const std::vector<AttachmentEntry>& attachments,
                                     CorruptionReporter& corruption)
    : contents_(contents),
      attachments_(attachments),
      corruption_(corruption),
      extract_recipients_(ExtractRecipientAddresses) {}

void ItemContentReader::SetCurrentRow(std::u16string sender, std::u16string subject, std::u16string date) {
  sender_ = std::move(sender);
  subject_ = std::move(subject);
  date_ = std::move(date);
}

RecordOutcome ItemContentReader::ReadItem(const RecordRef& ref, StoreEvents& events) {
  (void)events;
  if (ref.record == nullptr) return RecordOutcome::kUnreadable;
  const int count = NumberOfValues(ref);
  if (count <= 0) return RecordOutcome::kUnreadable;
  if (!PlanColumns(ref, count)) return RecordOutcome::kUnreadable;
  // Nothing fails past this point: the record's body chunks go straight to
  // the folder's list.
  RecordTexts texts;
  texts.chunks.first = contents_->chunks().size();
  for (int value = 0; value < count; ++value) ReadValue(ref, value, &texts);
  texts.chunks.count = contents_->chunks().size() - texts.chunks.first;
  if (family_ == ItemFamily::kMail) {
    KeepMail(texts);
  } else if (family_ == ItemFamily::kContact) {
    KeepContact(texts);
  }
  return RecordOutcome::kHandled;
}

// Every record of a table has the same columns, so what each value position
// is read for is worked out once per table (a table is known by its column
// list) and kept.
bool ItemContentReader::PlanColumns(const RecordRef& ref, int count) {
  if (ref.columns != nullptr && plan_columns_ == ref.columns && plan_.size() == static_cast<size_t>(count)) {
    return true;
  }
  plan_.clear();
  plan_columns_ = nullptr;
  if (ref.columns == nullptr || ref.columns->size() < static_cast<size_t>(count)) return false;
  for (int value = 0; value < count; ++value) {
    const ese::ColumnInfo& info = (*ref.columns)[static_cast<size_t>(value)];
    // A name that would not fit 256 units with its terminator is not a
    // column of the store.
    if (info.name.size() + 1 > kMaxColumnNameUnits) {
      plan_.clear();
      return false;
    }
    ColumnPlan column;
    column.name = info.name;
    column.type = info.type;
    column.catalog_code_page = info.code_page;
    PlanColumn(&column);
    plan_.push_back(std::move(column));
  }
  plan_columns_ = ref.columns;
  return true;
}

// The rendering rules by name and type: short-named currency and binary
// columns by their first letter, then the named columns, then body
// extraction for everything else.
void ItemContentReader::PlanColumn(ColumnPlan* column) const {
  const std::u16string& name = column->name;
  const uint32_t type = column->type;
  const bool short_name = !name.empty() && name.size() <= 6;
  if (type == ese::column_type::kCurrency && short_name && (name[0] == u'T' || name[0] == u'Q')) {
    return;  // dates and identifiers: nothing of the item is made of them
  }
  if (IsBinaryType(type) && short_name && name[0] != u'L') {
    if (name[0] == u'S') {
      // Named text columns kept as binary still give their text.
      column->field = ContactFieldOf(name);
      if (StartsWith5(name, u"S8299")) {
        column->action = ColumnAction::kFallbackBinary;
      } else if (column->field >= 0) {
        column->action = ColumnAction::kContactBinary;
      }
      return;
    }
    if (name[0] == u'T') return;
    if (name[0] == u'Q' || StartsWith5(name, u"N67b0")) {
      column->action = StartsWith5(name, u"N67b0") ? ColumnAction::kKey : ColumnAction::kBigEndian;
      return;
    }
    if (name == u"N300b" || name == u"N6720") return;
  }
  column->field = ContactFieldOf(name);
  if (column->field >= 0) {
    column->action = ColumnAction::kContactText;
    column->code_page = column->catalog_code_page;
  } else if (StartsWith5(name, u"S8299")) {
    column->action = IsBinaryType(type) ? ColumnAction::kFallbackBinary : ColumnAction::kFallbackText;
    column->code_page = column->catalog_code_page;
  } else if (StartsWith5(name, u"N67b3")) {
    column->action = ColumnAction::kAttachmentIds;
  } else if (StartsWith5(name, u"N67b4")) {
    column->action = ColumnAction::kRecipients;
  } else if (BodyColumn body; BodyColumnOfName(name, &body)) {
    column->action = ColumnAction::kBody;
    column->code_page = column->catalog_code_page;
  }
  // Any other column, "N67b0…" that is no identifier among them, gives
  // nothing.
}

void ItemContentReader::ReadValue(const RecordRef& ref, int value, RecordTexts* texts) {
  const ColumnPlan& column = plan_[static_cast<size_t>(value)];
  switch (column.action) {
    case ColumnAction::kNothing: break;
    case ColumnAction::kBigEndian: texts->order = ByteOrder::kBigEndian; break;
    case ColumnAction::kKey:
      texts->order = ByteOrder::kBigEndian;
      texts->key = IdentifierText(ref, value, texts->order, std::nullopt);
      break;
    case ColumnAction::kContactBinary:
      if (family_ == ItemFamily::kContact) texts->contact.Set(column.field, BinaryAnsiText(ref, value));
      break;
    case ColumnAction::kContactText:
      if (family_ == ItemFamily::kContact) {
        texts->contact.Set(column.field, NamedColumnText(ref, value, column.type, column.code_page));
      }
      break;
    case ColumnAction::kFallbackBinary: texts->fallback_recipients = BinaryAnsiText(ref, value); break;
    case ColumnAction::kFallbackText:
      texts->fallback_recipients = NamedColumnText(ref, value, column.type, column.code_page);
      break;
    case ColumnAction::kAttachmentIds: {
      Text ids = NamedColumnText(ref, value, column.type, 0);
      if (ids && ids->size() >= kShortestAttachmentIds) texts->attachment_ids = std::move(ids);
      break;
    }
    case ColumnAction::kRecipients: texts->raw_recipients = NamedColumnText(ref, value, column.type, 0); break;
    case ColumnAction::kBody:
      // Only a mail item's body is ever shown or saved.
      if (family_ != ItemFamily::kMail) break;
      ExtractBodyColumn(ref, value, column.name, current_key_, column.code_page, body_decoder_,
                        contents_->body_chunks(), &corruption_);
      break;
  }
}

void ItemContentReader::KeepMail(RecordTexts& texts) {
  ItemContent item;
  item.key = std::move(texts.key);
  item.chunks = texts.chunks;
  const BodyChunk* body = PickItemBody(contents_->ChunksOf(item));
  item.body_kind = body == nullptr ? BodyKind::kEmpty : body->kind;
  item.recipients = RecipientsOf(texts);
  item.attachments = AttachmentNamesOf(texts);
  if (item.attachments) item.attachment_entries = attachment_index_->PositionsOf(*texts.attachment_ids);
  item.sender = sender_;
  item.subject = subject_;
  item.date = date_;
  contents_->AddItem(std::move(item));
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
