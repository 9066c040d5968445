// Writing items into the directory layout of a target store.
#include "export/target_store.h"

#include <ctime>
#include <system_error>
#include <vector>

#include "export/icalendar.h"
#include "export/mime_message.h"
#include "export/target_names.h"
#include "export/vcard.h"

namespace edb {
namespace fs = std::filesystem;

namespace {

constexpr const char* kTempDirectory = ".edbrecover-tmp";
// Maildir file names: "<stem>.edb:2," (the info part with no flags set).
constexpr const char* kMaildirSuffix = ".edb";
constexpr const char* kMaildirInfo = ":2,";

Status CannotWrite(const fs::path& path, const std::error_code& error) {
  return Status::IoError("cannot write to " + path.string() + ": " + error.message());
}

Status MakeDirectories(const fs::path& path) {
  std::error_code error;
  fs::create_directories(path, error);
  if (error) return CannotWrite(path, error);
  return Status::Ok();
}

bool IsInbox(std::string_view folder) {
  if (folder.size() != 5) return false;
  static constexpr char kInbox[] = "inbox";
  for (size_t i = 0; i < 5; ++i) {
    if ((folder[i] | 0x20) != kInbox[i]) return false;
  }
  return true;
}

// mboxrd: a line that is "From " after any number of ">" gets one more ">".
std::string MboxrdQuoted(std::string_view message) {
  std::string quoted;
  quoted.reserve(message.size() + 64);
  size_t pos = 0;
  while (pos < message.size()) {
    size_t end = message.find('\n', pos);
    end = end == std::string_view::npos ? message.size() : end + 1;
    std::string_view line = message.substr(pos, end - pos);
    const size_t first = line.find_first_not_of('>');
    if (first != std::string_view::npos && line.substr(first).rfind("From ", 0) == 0) quoted += '>';
    quoted.append(line);
    pos = end;
  }
  if (!quoted.empty() && quoted.back() != '\n') quoted += '\n';
  return quoted;
}

std::string MboxFromLine(const MailItem& item) {
  std::string sender = item.sender.address;
  if (sender.empty() || sender.find_first_of(" \t\r\n") != std::string::npos) sender = "MAILER-DAEMON";
  const time_t when = static_cast<time_t>(item.date.value_or(0));
  std::tm parts{};
  gmtime_r(&when, &parts);
  char date[64];
  std::strftime(date, sizeof(date), "%a %b %e %H:%M:%S %Y", &parts);
  return "From " + sender + " " + date + "\n";
}

}  // namespace

std::optional<MailFormat> MailFormatOfName(std::string_view name) {
  if (name == "maildir") return MailFormat::kMaildir;
  if (name == "mbox") return MailFormat::kMbox;
  if (name == "eml") return MailFormat::kEml;
  return std::nullopt;
}

struct TargetStore::OpenFolder {
  std::string id;              // mailbox, kind and folder name
  fs::path directory;          // where the item files go
  fs::path temp_directory;     // where they are written first
  std::set<std::string> existing;  // Maildir: unique names already there
  std::map<std::string, int> stems;  // stems used this run, with their count
  std::optional<NewFile> mbox;       // the mbox file being written
  fs::path mbox_path;
  bool mbox_existed = false;         // a previous run wrote this folder
};

TargetStore::TargetStore(fs::path root, MailFormat format)
    : root_(std::move(root)), temp_(root_ / kTempDirectory), format_(format) {}

TargetStore::~TargetStore() {
  (void)Finish();
  std::error_code ignored;
  fs::remove(temp_, ignored);  // only when empty
}

Result<std::unique_ptr<TargetStore>> TargetStore::Open(const fs::path& root, MailFormat format) {
  std::unique_ptr<TargetStore> store(new TargetStore(root, format));
  if (Status status = MakeDirectories(store->temp_); !status.ok()) return status;
  // Proves the store writable before anything is read for it.
  Result<NewFile> probe = NewFile::Create(store->temp_ / "probe", store->temp_);
  if (!probe) return Status::IoError("cannot write to " + root.string() + ": " + probe.status().reason());
  if (Status status = probe->Append("probe"); !status.ok()) {
    return Status::IoError("cannot write to " + root.string() + ": " + status.reason());
  }
  return store;
}

Status TargetStore::Finish() {
  if (!open_) return Status::Ok();
  std::unique_ptr<OpenFolder> folder = std::move(open_);
  if (!folder->mbox) return Status::Ok();
  Result<NewFileOutcome> outcome = folder->mbox->Commit();
  folder->mbox.reset();
  if (!outcome) return outcome.status();
  return Status::Ok();
}

Status TargetStore::SwitchTo(std::string_view mailbox, std::string_view folder, FolderKind kind) {
  const std::string id = std::string(mailbox) + '\0' + std::to_string(static_cast<int>(kind)) + '\0' + std::string(folder);
  if (open_ && open_->id == id) return Status::Ok();
  if (Status status = Finish(); !status.ok()) return status;

  auto open = std::make_unique<OpenFolder>();
  open->id = id;
  std::string name(folder);
  if (const int uses = ++folder_uses_[id]; uses > 1) name += " (" + std::to_string(uses) + ")";
  const fs::path mailbox_directory = root_ / SafeComponentName(mailbox);
  open->temp_directory = temp_;
  if (kind == FolderKind::kContacts) {
    open->directory = mailbox_directory / "contacts" / SafeComponentName(name);
  } else if (kind == FolderKind::kCalendars) {
    open->directory = mailbox_directory / "calendars" / SafeComponentName(name);
  } else if (format_ == MailFormat::kEml) {
    open->directory = mailbox_directory / SafeComponentName(name);
  } else if (format_ == MailFormat::kMbox) {
    open->directory = mailbox_directory;
    open->mbox_path = mailbox_directory / (SafeComponentName(name) + ".mbox");
  } else {
    open->directory = mailbox_directory;
    if (Status status = OpenMaildir(open.get(), name); !status.ok()) return status;
    open_ = std::move(open);
    return Status::Ok();
  }
  if (Status status = MakeDirectories(open->directory); !status.ok()) return status;
  if (!open->mbox_path.empty()) {
    std::error_code error;
    open->mbox_existed = fs::exists(open->mbox_path, error);
    if (!open->mbox_existed) {
      Result<NewFile> file = NewFile::Create(open->mbox_path, temp_);
      if (!file) return file.status();
      open->mbox.emplace(std::move(file.value()));
    }
  }
  open_ = std::move(open);
  return Status::Ok();
}

Status TargetStore::OpenMaildir(OpenFolder* open, std::string_view folder) {
  // The mailbox's top level is its Inbox and must be a Maildir for the
  // subfolders to be found.
  for (const char* part : {"cur", "new", "tmp"}) {
    if (Status status = MakeDirectories(open->directory / part); !status.ok()) return status;
  }
  if (!IsInbox(folder)) {
    open->directory /= MaildirFolderDirectory(folder);
    for (const char* part : {"cur", "new", "tmp"}) {
      if (Status status = MakeDirectories(open->directory / part); !status.ok()) return status;
    }
    // Maildir++ marks subfolders with this empty file.
    (void)WriteNewFile(open->directory / "maildirfolder", "", open->directory / "tmp");
  }
  open->temp_directory = open->directory / "tmp";
  // Mail readers rename files as flags change ("...:2,S"); the unique part
  // before ":" is what identifies a message written before.
  for (const char* part : {"cur", "new"}) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(open->directory / part, error)) {
      const std::string file = entry.path().filename().string();
      open->existing.insert(file.substr(0, file.find(':')));
    }
  }
  return Status::Ok();
}

std::string TargetStore::StemFor(std::string_view key) {
  std::string stem = KeyFileStem(key);
  const int uses = ++open_->stems[stem];
  if (uses > 1) stem += "-" + std::to_string(uses);
  return stem;
}

Result<ItemOutcome> TargetStore::WriteWholeFile(const std::string& file_name, std::string_view bytes) {
  Result<NewFileOutcome> outcome = WriteNewFile(open_->directory / file_name, bytes, open_->temp_directory);
  if (!outcome) return outcome.status();
  if (*outcome == NewFileOutcome::kExisted) {
    ++counts_.already_there;
    return ItemOutcome::kAlreadyThere;
  }
  return ItemOutcome::kWritten;
}

Result<ItemOutcome> TargetStore::WriteMail(std::string_view mailbox, std::string_view folder, const MailItem& item,
                                           std::vector<std::string>* problems) {
  if (Status status = SwitchTo(mailbox, folder, FolderKind::kMail); !status.ok()) return status;
  const std::string stem = StemFor(item.key);
  // Skip before composing: an item a previous run wrote costs no reading of
  // its attachments.
  if (format_ == MailFormat::kMaildir && open_->existing.count(stem + kMaildirSuffix) > 0) {
    ++counts_.already_there;
    return ItemOutcome::kAlreadyThere;
  }
  if (format_ == MailFormat::kMbox && open_->mbox_existed) {
    ++counts_.already_there;
    return ItemOutcome::kAlreadyThere;
  }
  if (format_ == MailFormat::kEml) {
    std::error_code error;
    if (fs::exists(open_->directory / (stem + ".eml"), error)) {
      ++counts_.already_there;
      return ItemOutcome::kAlreadyThere;
    }
  }
  ComposedMessage message = ComposeMessage(item);
  Result<ItemOutcome> outcome = ItemOutcome::kWritten;
  if (format_ == MailFormat::kMbox) {
    Status status = open_->mbox->Append(MboxFromLine(item) + MboxrdQuoted(message.bytes) + "\n");
    if (!status.ok()) return status;
  } else if (format_ == MailFormat::kEml) {
    outcome = WriteWholeFile(stem + ".eml", message.bytes);
  } else {
    outcome = WriteWholeFile("cur/" + stem + kMaildirSuffix + kMaildirInfo, message.bytes);
  }
  if (!outcome) return outcome;
  if (*outcome == ItemOutcome::kWritten) {
    ++counts_.messages;
    counts_.attachments += message.attachments_written;
    counts_.skipped += static_cast<int64_t>(message.problems.size());
    if (problems != nullptr) problems->insert(problems->end(), message.problems.begin(), message.problems.end());
  }
  return outcome;
}

Result<ItemOutcome> TargetStore::WriteContact(std::string_view mailbox, std::string_view folder,
                                              const ContactItem& contact) {
  if (Status status = SwitchTo(mailbox, folder, FolderKind::kContacts); !status.ok()) return status;
  Result<ItemOutcome> outcome = WriteWholeFile(StemFor(contact.key) + ".vcf", ComposeVCard(contact));
  if (outcome && *outcome == ItemOutcome::kWritten) ++counts_.contacts;
  return outcome;
}

Result<ItemOutcome> TargetStore::WriteCalendar(std::string_view mailbox, std::string_view folder,
                                               const CalendarItem& item, int64_t stamp) {
  if (Status status = SwitchTo(mailbox, folder, FolderKind::kCalendars); !status.ok()) return status;
  Result<ItemOutcome> outcome = WriteWholeFile(StemFor(item.key) + ".ics", ComposeICalendar(item, stamp));
  if (outcome && *outcome == ItemOutcome::kWritten) ++counts_.calendar_items;
  return outcome;
}

}  // namespace edb
