// The save run: folders opened in save mode, items handed to the target store.
#include "app/ui/save_flow.h"

#include <ctime>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

#include "store/attachment_data_reader.h"
#include "store/body_pass.h"
#include "app/ui/folder_flow.h"
#include "export/store_item_conversion.h"
#include "store/folder_contents.h"
#include "store/item_family.h"
#include "base/damage_costs.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

// Counts what the damaged store could not give while items are read: a
// report that cost nothing else counts once; one that cost items (or parts
// of them) counts each of those once instead, however often it was met.
class CountingReporter : public CorruptionReporter {
 public:
  explicit CountingReporter(CorruptionReporter& next) : next_(next) {}
  void Corruption(std::string_view where, std::string_view reason) override {
    ++count_;
    uncosted_.emplace(where);
    next_.Corruption(where, reason);
  }
  void Cost(std::string_view damage, Loss loss, std::string_view object) override {
    if (costs_.Add(damage, loss, object)) {
      ++count_;
      // Its first cost stands in for the report counted above.
      if (uncosted_.erase(std::string(damage)) > 0) --count_;
    }
    next_.Cost(damage, loss, object);
  }
  int64_t count() const { return count_; }

 private:
  CorruptionReporter& next_;
  int64_t count_ = 0;
  std::set<std::string> uncosted_;
  DamageCosts costs_;
};

// The window as a save sees it: status line, progress and pages go through;
// the message list is kept away from the real list (a save lists nothing)
// and its rows are captured for the folders saved from their rows.
class SaveWindow : public WindowPort {
 public:
  explicit SaveWindow(WindowPort& window) : window_(window) {}

  void SetStatusText(std::u16string_view text) override { window_.SetStatusText(text); }
  void SetProgress(int position) override { window_.SetProgress(position); }
  void ClearTree() override { window_.ClearTree(); }
  TreeItem InsertTreeItem(TreeItem parent, std::u16string_view label, int image) override {
    return window_.InsertTreeItem(parent, label, image);
  }
  void ExpandTreeItem(TreeItem item) override { window_.ExpandTreeItem(item); }
  void EnableTree(bool enabled) override { window_.EnableTree(enabled); }
  void ClearList() override { rows_.clear(); }
  void SetListColumns(std::span<const ListColumn>) override {}
  int AppendListRow(int) override {
    rows_.emplace_back();
    return static_cast<int>(rows_.size()) - 1;
  }
  void SetListCell(int row, int column, std::u16string_view text) override {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size() || column < 0) return;
    std::vector<std::u16string>& cells = rows_[static_cast<size_t>(row)];
    if (cells.size() <= static_cast<size_t>(column)) cells.resize(static_cast<size_t>(column) + 1);
    cells[static_cast<size_t>(column)] = text;
  }
  void EnableList(bool) override {}
  void ShowStatusPage(std::u16string_view html) override { window_.ShowStatusPage(html); }
  void ShowMessage(MessageKind kind, std::u16string_view text, std::u16string_view caption) override {
    window_.ShowMessage(kind, text, caption);
  }

  const std::vector<std::vector<std::u16string>>& rows() const { return rows_; }

 private:
  WindowPort& window_;
  std::vector<std::vector<std::u16string>> rows_;
};

// Writes the items of the folder being saved into the target store.
class SaveRun : public ItemWriter {
 public:
  SaveRun(WindowContext& context, TargetStore& target, const SaveRequest& request, SaveObserver* observer,
          CountingReporter& damage)
      : context_(context),
        target_(target),
        request_(request),
        observer_(observer),
        damage_(damage),
        attachments_(context.session),
        stamp_(static_cast<int64_t>(std::time(nullptr))) {}

  void set_folder(const SaveFolder& folder) {
    mailbox_ = Utf16ToUtf8(folder.mailbox_name);
    folder_ = Utf16ToUtf8(folder.folder.display_name);
  }

  void WriteMail(const ItemContent& item, const std::vector<const BodyChunk*>& chunks) override {
    if (Stopped()) return;
    MailItem mail = MailItemOf(item, chunks, context_.session.attachments);
    for (size_t i = 0; i < mail.attachments.size() && i < item.attachment_entries.size(); ++i) {
      const int32_t record = context_.session.attachments[item.attachment_entries[i]].record;
      mail.attachments[i].load = [this, record] { return attachments_.Read(record); };
    }
    WriteMailItem(mail);
  }

  void WriteContact(const ContactContent& contact) override {
    if (Stopped()) return;
    Finish(target_.WriteContact(mailbox_, folder_, ContactItemOf(contact)));
  }

  void WriteRows(ItemFamily family, const std::vector<std::vector<std::u16string>>& rows) {
    for (const std::vector<std::u16string>& cells : rows) {
      if (Stopped()) return;
      if (family == ItemFamily::kNote) {
        if (std::optional<MailItem> note = NoteItemOfRow(cells)) WriteMailItem(*note);
      } else if (std::optional<CalendarItem> item = CalendarItemOfRow(family, cells)) {
        Finish(target_.WriteCalendar(mailbox_, folder_, *item, stamp_));
      }
    }
  }

  SaveSummary Summary() const {
    SaveSummary summary;
    summary.counts = target_.counts();
    summary.counts.skipped += damage_.count();
    summary.items_done = items_done_ + damage_.count();
    summary.failure = failure_;
    summary.stopped = context_.gate != nullptr && context_.gate->cancelled() && failure_.ok();
    return summary;
  }

  bool Stopped() const {
    return !failure_.ok() || (context_.gate != nullptr && context_.gate->cancelled());
  }

  Status FinishTarget() {
    Status status = target_.Finish();
    if (!status.ok() && failure_.ok()) failure_ = status;
    return status;
  }

 private:
  void WriteMailItem(const MailItem& mail) {
    std::vector<std::string> problems;
    Finish(target_.WriteMail(mailbox_, folder_, mail, &problems));
    for (const std::string& problem : problems) {
      // Counted by the target store already; reported here, once.
      context_.corruption.Corruption("item " + mail.key + " of " + mailbox_ + "/" + folder_, problem);
    }
  }

  void Finish(const Result<ItemOutcome>& outcome) {
    if (!outcome.ok() && failure_.ok()) {
      failure_ = outcome.status();
      if (context_.gate != nullptr) context_.gate->Cancel();
    }
    ++items_done_;
    if (observer_ != nullptr) observer_->ItemDone(Summary(), request_.expected_items);
  }

  WindowContext& context_;
  TargetStore& target_;
  const SaveRequest& request_;
  SaveObserver* observer_;
  CountingReporter& damage_;
  AttachmentDataReader attachments_;
  int64_t stamp_;
  std::string mailbox_;
  std::string folder_;
  int64_t items_done_ = 0;
  Status failure_;
};

}  // namespace

int SaveSummary::ExitCode() const {
  if (!failure.ok()) return 1;
  if (counts.skipped > 0) return 2;
  return 0;
}

std::vector<SaveFolder> FoldersToSave(const StoreSession& session, const std::vector<std::u16string>& mailboxes,
                                      const std::vector<std::u16string>& folder_specs) {
  std::unordered_map<std::u16string, std::u16string> mailbox_name;
  for (const MailboxEntry& mailbox : session.mailboxes) mailbox_name.emplace(mailbox.key, mailbox.display_name);
  const bool everything = mailboxes.empty() && folder_specs.empty();
  std::vector<SaveFolder> chosen;
  for (const MailboxEntry& mailbox : session.mailboxes) {
    const bool whole = everything || std::find(mailboxes.begin(), mailboxes.end(), mailbox.display_name) !=
                                         mailboxes.end();
    for (const FolderEntry& folder : session.folders) {
      if (folder.mailbox_key != mailbox.key || !folder.contents_table_name) continue;
      const std::u16string spec = mailbox.display_name + u"/" + folder.display_name;
      const bool named = std::find(folder_specs.begin(), folder_specs.end(), spec) != folder_specs.end();
      if (whole || named) chosen.push_back(SaveFolder{mailbox.display_name, folder});
    }
  }
  return chosen;
}

SaveSummary RunSave(WindowContext& context, const SaveRequest& request, SaveObserver* observer) {
  Result<std::unique_ptr<TargetStore>> target = TargetStore::Open(request.target, request.format);
  if (!target) {
    SaveSummary summary;
    summary.failure = target.status();
    return summary;
  }
  CountingReporter damage(context.corruption);
  SaveWindow window(context.window);
  WindowContext save_context{context.session, window, context.handlers, damage, context.gate};
  SaveRun run(save_context, **target, request, observer, damage);
  for (const SaveFolder& folder : request.folders) {
    if (run.Stopped()) break;
    if (observer != nullptr) observer->FolderStarted(folder);
    run.set_folder(folder);
    const ItemFamily family = FamilyOfFolderClass(OpenFolderClass(folder.folder.container_class));
    FolderContents contents;
    if (family == ItemFamily::kMail || family == ItemFamily::kContact) {
      context.session.open_folder.save_mode = true;
      ItemBodyPass pass(&contents, &run);
      OpenFolderEntry(save_context, folder.folder, &pass);
      context.session.open_folder.save_mode = false;
    } else {
      OpenFolderEntry(save_context, folder.folder, nullptr);
      run.WriteRows(family, window.rows());
    }
    (void)run.FinishTarget();
  }
  context.session.mail_rows.clear();
  context.session.contacts.clear();
  return run.Summary();
}

std::string SaveSummaryText(const SaveSummary& summary, const std::filesystem::path& target) {
  const SaveCounts& c = summary.counts;
  std::string text;
  if (!summary.failure.ok()) text = "Saving failed: " + summary.failure.reason() + ". ";
  if (summary.stopped) text += "Saving stopped. ";
  text += "Saved " + std::to_string(c.messages) + " messages, " + std::to_string(c.contacts) + " contacts, " +
          std::to_string(c.calendar_items) + " calendar items and " + std::to_string(c.attachments) +
          " attachments to " + target.string() + "; " + std::to_string(c.skipped) + " items skipped";
  if (c.already_there > 0) text += ", " + std::to_string(c.already_there) + " already there";
  return text + ".";
}

}  // namespace edb
