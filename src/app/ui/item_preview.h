// What a click on a row of the message list shows, without any GUI: the
// From, Subject and Date fields, for mail the To and Attachment Name fields,
// and the file the preview pane navigates to (the mail's body file, the
// contact's HTML, or the page of an appointment, journal entry or task),
// written into the preview folder.
//
//   ItemPreview preview = PreviewSelectedItem(row, session.open_folder.folder_class,
//                                             session.message_index, contents, temp.path());
//   window fields <- preview.from / subject / date; if (preview.sets_mail_fields) ...
//   if (!preview.file.empty()) navigate(preview.file);
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/body_chunk.h"
#include "app/ui/preview_pages.h"
#include "store/folder_contents.h"
#include "store/item_family.h"
#include "store/msg_index_entry.h"

namespace edb {

// The file a contact, appointment, journal entry or task previews in.
inline constexpr const char* kPagePreviewFile = "htmlbody.html";

struct ItemPreview {
  // The family of the opened folder's class.
  ItemFamily kind = ItemFamily::kNone;
  // The From, Subject and Date fields: columns 3, 4 and 5 of the row,
  // always set.
  std::u16string from;
  std::u16string subject;
  std::u16string date;
  // True when column 0 holds the key of a Msg record. Without one, only the
  // three fields above change.
  bool has_record = false;
  // True when the To and Attachment Name fields are set (a mail item whose
  // content was loaded); they then show `to` and `attachments` (none: empty).
  bool sets_mail_fields = false;
  std::optional<std::u16string> to;
  std::optional<std::u16string> attachments;
  // The mail item's own body kind.
  BodyKind body_kind = BodyKind::kEmpty;
  // What the pane shows of the item as text: a mail's decoded body, the
  // contact HTML, or the appointment, journal or task page; none when the
  // pane shows nothing of the item.
  std::optional<std::u16string> body;
  // Where the pane navigates: the file written, or the preview folder itself
  // when a mail or contact has no loaded content; empty when the pane is
  // left as it was.
  std::filesystem::path file;
  // Why the preview file could not be written ("" when it was).
  std::string error;
};

// The preview of the row whose columns 0 to 7 are `row`, in the folder whose
// open class is `folder_class`, with `index` the scan's message index and
// `contents` the folder's loaded content. A key with several Msg records
// shows the first loaded one. Body files are written as WriteBodyFile writes
// them; pages as UTF-8 with a byte-order mark, to "htmlbody.html" in
// `preview_folder`.
ItemPreview PreviewSelectedItem(const RowTexts& row, const std::u16string& folder_class,
                                const std::vector<MsgIndexEntry>& index, const FolderContents& contents,
                                const std::filesystem::path& preview_folder);

}  // namespace edb
