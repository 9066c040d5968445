// The item-content reader: reads every value of one Msg record once and
// turns it into the item's content in the opened folder's content lists:
//   - body columns ("S1000", "N1009", "N1013") of a mail record become its
//     body chunks (body extraction is given the column's name and code
//     page);
//   - a mail record becomes an ItemContent: the record's key, its own body
//     kind, the recipients of "N67b4" (or the "S8299" text when they cannot
//     be extracted), the attachment names of "N67b3" and the header texts
//     the loader set;
//   - a contact record becomes a ContactContent: its contact fields, their
//     HTML and its key;
//   - records of other folders are read and nothing is kept.
//
//   ItemContentReader reader(&contents, session.attachments, provider, corruption);
//   reader.set_family(ItemFamily::kMail);
//   reader.SetCurrentRow(sender, subject, date);
//   reader.set_current_key(key);
//   reader.ReadItem(record, events);
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/body_chunk.h"
#include "store/attachment_entry.h"
#include "store/body_column.h"
#include "store/attachment_name_index.h"
#include "base/corruption_reporter.h"
#include "store/folder_contents.h"
#include "store/item_content_sink.h"
#include "store/item_family.h"
#include "store/record_value.h"

namespace edb {

class ItemContentReader : public ItemContentSink {
 public:
  // Turns the rendered "N67b4" text into the recipients text; nullopt (or an
  // exception) when the extraction fails.
  using RecipientExtractor = std::function<std::optional<std::u16string>(std::u16string_view)>;

  // Appends to `contents`. Attachment names come from `attachments` (the
  // scan's list); code pages of text and body columns from the catalog (the
  // record's column list). Damaged body data is reported to `corruption`.
  // All must outlive the reader.
  ItemContentReader(FolderContents* contents, const std::vector<AttachmentEntry>& attachments,
                    CorruptionReporter& corruption);

  // What the records read are kept as: kMail an ItemContent, kContact a
  // ContactContent, anything else nothing.
  void set_family(ItemFamily family) { family_ = family; }
  // The texts of the header whose record is read next (mail only).
  void SetCurrentRow(std::u16string sender, std::u16string subject, std::u16string date);
  // The key of the record read next; its body chunks carry it.
  void set_current_key(std::u16string key) { current_key_ = std::move(key); }
  // Replaces the recipient extractor (ExtractRecipientAddresses by default).
  void set_recipient_extractor(RecipientExtractor extractor) { extract_recipients_ = std::move(extractor); }

  // Reads `record` (a record of "Msg"; the column names and types of its
  // table are read at its first record and kept while records come with
  // the same column list). Returns kHandled when every value was read
  // (and the item kept, by family), kUnreadable when the record is missing,
  // has no values, or a column name (longer than 256 units included) or type
  // cannot be read; nothing is kept then, body chunks included.
  RecordOutcome ReadItem(const RecordRef& record, StoreEvents& events) override;

 private:
  struct RecordTexts;

  // What a value position of the table's records is read for.
  enum class ColumnAction {
    kNothing,
    kBigEndian,       // an identifier: later values are read big-endian
    kKey,             // the item's key ("N67b0"), big-endian from here on
    kContactBinary,   // a contact field kept as binary
    kContactText,     // a contact field
    kFallbackBinary,  // "S8299" kept as binary
    kFallbackText,    // "S8299"
    kAttachmentIds,   // "N67b3"
    kRecipients,      // "N67b4"
    kBody,            // "S1000", "N1009", "N1013"
  };
  struct ColumnPlan {
    std::u16string name;
    uint32_t type = 0;
    ColumnAction action = ColumnAction::kNothing;
    int field = -1;          // contact field, for the contact actions
    uint32_t code_page = 0;  // of text and body columns; 0: not known
    uint32_t catalog_code_page = 0;  // what the catalog records for the column
  };

  bool PlanColumns(const RecordRef& ref, int count);
  void PlanColumn(ColumnPlan* column) const;
  void ReadValue(const RecordRef& ref, int value, RecordTexts* texts);
  void KeepMail(RecordTexts& texts);
  void KeepContact(RecordTexts& texts);
  std::optional<std::u16string> RecipientsOf(const RecordTexts& texts) const;
  std::optional<std::u16string> AttachmentNamesOf(const RecordTexts& texts);

  FolderContents* contents_;
  const std::vector<AttachmentEntry>& attachments_;
  std::unique_ptr<AttachmentNameIndex> attachment_index_;  // built at first use
  CorruptionReporter& corruption_;
  ItemFamily family_ = ItemFamily::kNone;
  std::u16string sender_;
  std::u16string subject_;
  std::u16string date_;
  std::u16string current_key_;
  RecipientExtractor extract_recipients_;
  BodyDecoder body_decoder_;  // its converters serve every record
  std::vector<ColumnPlan> plan_;                                // by value position
  const std::vector<ese::ColumnInfo>* plan_columns_ = nullptr;  // the table plan_ is for
};

}  // namespace edb
