// The preview of a clicked list row.
#include "app/ui/item_preview.h"

#include <algorithm>
#include <fstream>

#include "export/body_file.h"

namespace edb {
namespace {

bool HasMsgRecord(const std::vector<MsgIndexEntry>& index, const std::u16string& key) {
  if (key.empty()) return false;
  return std::any_of(index.begin(), index.end(),
                     [&](const MsgIndexEntry& entry) { return entry.key && *entry.key == key; });
}

// Writes `page` as UTF-8 with a byte-order mark to the page file of
// `folder`; the file's path, or empty with `error` set.
std::filesystem::path WritePageFile(const std::u16string& page, const std::filesystem::path& folder,
                                    std::string* error) {
  std::filesystem::path path = folder / kPagePreviewFile;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) {
    out << "\xEF\xBB\xBF";
    if (WriteBodyText(page, out)) {
      out.close();
      if (out) return path;
    }
  }
  *error = "cannot write " + path.string();
  return {};
}

void PreviewMail(const std::u16string& key, const FolderContents& contents, const std::filesystem::path& folder,
                 ItemPreview* preview) {
  const ItemContent* item = contents.FirstItem(key);
  if (item == nullptr) {
    preview->file = folder;
    return;
  }
  preview->sets_mail_fields = true;
  preview->to = item->recipients;
  preview->attachments = item->attachments;
  preview->body_kind = item->body_kind;
  BodyChunkList own;
  for (const BodyChunk* chunk : contents.ChunksOf(*item)) own.Append(*chunk);
  const BodyChunk* body = ItemBody(own, key);
  preview->body = body == nullptr ? std::u16string() : body->text;
  preview->file = WriteBodyFile(own, key, folder, &preview->error);
}

void PreviewPage(std::optional<std::u16string> page, const std::filesystem::path& folder, ItemPreview* preview) {
  if (!page) {
    preview->file = folder;
    return;
  }
  preview->file = WritePageFile(*page, folder, &preview->error);
  preview->body = std::move(page);
}

std::optional<std::u16string> ContactHtml(const std::u16string& key, const FolderContents& contents) {
  const ContactContent* contact = contents.FirstContact(key);
  if (contact == nullptr) return std::nullopt;
  return contact->html().value_or(u"<br>");
}

}  // namespace

ItemPreview PreviewSelectedItem(const RowTexts& row, const std::u16string& folder_class,
                                const std::vector<MsgIndexEntry>& index, const FolderContents& contents,
                                const std::filesystem::path& preview_folder) {
  ItemPreview preview;
  preview.kind = FamilyOfFolderClass(OpenFolderClass(folder_class));
  preview.from = row[3];
  preview.subject = row[4];
  preview.date = row[5];
  const std::u16string& key = row[0];
  preview.has_record = HasMsgRecord(index, key);
  if (!preview.has_record) return preview;

  switch (preview.kind) {
    case ItemFamily::kMail: PreviewMail(key, contents, preview_folder, &preview); break;
    case ItemFamily::kContact: PreviewPage(ContactHtml(key, contents), preview_folder, &preview); break;
    case ItemFamily::kAppointment: PreviewPage(AppointmentPage(row), preview_folder, &preview); break;
    case ItemFamily::kJournal: PreviewPage(JournalPage(row), preview_folder, &preview); break;
    case ItemFamily::kTask: PreviewPage(TaskPage(row), preview_folder, &preview); break;
    case ItemFamily::kNote:
    case ItemFamily::kActivity:
    case ItemFamily::kNone: break;
  }
  return preview;
}

}  // namespace edb
