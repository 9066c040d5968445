// Locating the columns of the store tables by name.
#include "store/column_positions.h"

#include <span>


namespace edb {
namespace {

struct NamedColumn {
  std::u16string_view name;
  std::optional<int32_t> ColumnPositions::*field;
};

constexpr NamedColumn kMailboxColumns[] = {
    {u"Q6764", &ColumnPositions::mailbox_key},
    {u"S3001", &ColumnPositions::display_name},
};
constexpr NamedColumn kFoldersColumns[] = {
    {u"Q6748", &ColumnPositions::folder_id},
    {u"Q6764", &ColumnPositions::mailbox_key},
    {u"S3001", &ColumnPositions::display_name},
    {u"S3613", &ColumnPositions::container_class},
};
constexpr NamedColumn kMsgColumns[] = {
    {u"N67b0", &ColumnPositions::message_key},
    {u"N67b3", &ColumnPositions::attachment_ids},
};
constexpr NamedColumn kAttachmentColumns[] = {
    {u"Q3f88", &ColumnPositions::attachment_key},
    {u"S3001", &ColumnPositions::display_name},
    {u"N3701", &ColumnPositions::attachment_data},
    {u"S3704", &ColumnPositions::attachment_file_name},
};

std::span<const NamedColumn> ColumnsOf(ColumnSet set) {
  switch (set) {
    case ColumnSet::kMailbox: return kMailboxColumns;
    case ColumnSet::kFolders: return kFoldersColumns;
    case ColumnSet::kMsg: return kMsgColumns;
    case ColumnSet::kAttachments: return kAttachmentColumns;
    case ColumnSet::kNone: break;
  }
  return {};
}

void RecordMatch(std::u16string_view column_name, int32_t position, ColumnSet set, ColumnPositions* positions) {
  for (const NamedColumn& named : ColumnsOf(set)) {
    if (named.name == column_name) positions->*named.field = position;
  }
}

}  // namespace

ColumnSet ColumnSetForTable(std::u16string_view table_name) {
  if (table_name.starts_with(u"Mailbox")) return ColumnSet::kMailbox;
  if (table_name.starts_with(u"Folders")) return ColumnSet::kFolders;
  if (table_name.starts_with(u"Msg")) return ColumnSet::kMsg;
  if (table_name.starts_with(u"1-23")) return ColumnSet::kAttachments;
  return ColumnSet::kNone;
}

ColumnPositions InitialColumnPositions(ColumnSet set) {
  ColumnPositions positions;
  if (set == ColumnSet::kMailbox) {
    positions.mailbox_key = ColumnPositions::kMailboxKeyDefault;
    positions.display_name = ColumnPositions::kMailboxDisplayNameDefault;
  }
  return positions;
}

ColumnNaming LocateColumns(const std::vector<ese::ColumnInfo>& columns, ColumnSet set, ColumnPositions* positions) {
  ColumnNaming naming = ColumnNaming::kAllNamed;
  for (size_t position = 0; position < columns.size(); ++position) {
    if (columns[position].name.empty()) {
      naming = ColumnNaming::kSomeUnnamed;
      continue;
    }
    RecordMatch(columns[position].name, static_cast<int32_t>(position), set, positions);
  }
  return naming;
}

}  // namespace edb
