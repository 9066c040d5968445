// Expectations for the scan and list commands over the sample store.
#include "scan_list_support.h"

#include <map>
#include <set>
#include <stdexcept>

#include "storegen/file_time.h"
#include "storegen/identifiers.h"
#include "storegen/sample_store.h"
#include "test_support.h"

namespace clitest {
namespace {

const std::set<std::string> kSystemFolders = {"Top of Information Store", "Finder", "Spooler Queue",
                                              "Views",  "Common Views",  "Schedule",
                                              "Shortcuts", "Freebusy Data", "Deferred Action"};
const std::set<std::string> kUserMailboxes = {"Mailbox - John Doe", "Mailbox - Ren\u00e9e Lef\u00e8vre"};
const std::set<std::string> kHiddenMailClasses = {"IPM.Configuration.WorkHours", "IPM.Microsoft.ScheduleData.FreeBusy",
                                                  "IPM.Rule.Version2.Message", "IPM.ExtendedRule.Message"};

// The address part of the From text for each sender of the sample, by the
// address patterns: two words and an address stay whole, "w w<" and "w<"
// get angle brackets, an address stands alone, then two words, then one
// word and its blank. Characters above "z" do not survive the decoding.
const std::map<std::string, std::string> kSenderAddresses = {
    {"max.mustermann@fabrikam.de", "Max Mustermann<max.mustermann@fabrikam.de>"},
    {"anna.berg@fabrikam.com", " Anna Berg smtp anna.berg@fabrikam.com "},
    {"helpdesk@contoso.com", "Helpdesk<helpdesk@contoso.com>"},
    {"carol@northwind.com", "carol@northwind.com"},
    {"/o=Contoso/ou=First Administrative Group/cn=Recipients/cn=dbrown", "Dan Brown"},
    {"", "DAEMON "},
    {"john.doe@contoso.com", "John Doe<john.doe@contoso.com>"},
    {"renee.lefevre@contoso.com", "Rene Lefvre<renee.lefevre@contoso.com>"},
    {"news@fabrikam.com", "Fabrikam News<news@fabrikam.com>"},
    {"winner@lottery.example", "Lottery<winner@lottery.example>"},
};

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// "Jan 05, 2004 13:07:09" from "2004-01-05T13:07:09Z".
std::string DateText(const std::optional<storegen::FileTime>& time) {
  if (!time) return "";
  const std::string iso = storegen::IsoTimeText(*time);
  return std::string(kMonths[std::stoi(iso.substr(5, 2)) - 1]) + " " + iso.substr(8, 2) + ", " + iso.substr(0, 4) +
         " " + iso.substr(11, 8);
}

std::string From(const storegen::Item& item) {
  std::string from = item.sender_name ? *item.sender_name + ";" : "";
  if (item.sender) from += kSenderAddresses.at(item.sender->address);
  return from;
}

std::string Property(const storegen::Item& item, const std::string& column) {
  auto found = item.text_properties.find(column);
  return found == item.text_properties.end() ? "" : found->second;
}

std::vector<std::string> Headings(const std::string& folder_name) {
  if (folder_name == "Contacts") {
    return {"",          "Type",          "S.No",              "Full name",       "First name",       "Last name",
            "Home Phone No", "Business Phone No", "Mobile Phone No", "Business Address", "Email Address", "Date"};
  }
  if (folder_name == "Sent Items") return {"", "Type", "S.No", "To", "Subject", "Date", "Attachment"};
  if (folder_name == "Calendar") return {"", "Type", "S.No", "To", "Subject", "Start Date", "End Date", "Status"};
  if (folder_name == "Tasks") return {"", "Type", "S.No", "From", "Subject", "Start Date", "End Date", "Message"};
  return {"", "Type", "S.No", "From", "Subject", "Date", "Attachment"};
}

// The cells of `item`, row `number` of a folder of class `folder_class`;
// empty when the folder does not list it.
std::vector<std::string> Cells(const std::string& folder_class, const storegen::Item& item, int number) {
  const std::string message_class = item.message_class.value_or("");
  const std::string subject = item.subject_prefix + item.subject;
  const std::string attachments = item.attachments.empty() ? "false" : "true";
  std::vector<std::string> cells = {storegen::IdText(item.key), message_class, std::to_string(number)};
  auto add = [&cells](std::vector<std::string> more) { cells.insert(cells.end(), more.begin(), more.end()); };
  if (folder_class == "Folder" || folder_class == "IPF.Note") {
    if (kHiddenMailClasses.count(message_class)) return {};
    add({From(item), subject, DateText(item.submit_time), attachments});
  } else if (folder_class == "IPF.Contact") {
    add({subject, subject, subject, Property(item, "S3a09"), Property(item, "S3a08"), Property(item, "S3a1c"),
         Property(item, "S3a15"), Property(item, "S81b0"), DateText(item.submit_time)});
  } else if (folder_class == "IPF.Appointment") {
    add({From(item), subject, DateText(item.submit_time), DateText(item.delivery_time), Property(item, "S80fd")});
  } else if (folder_class == "IPF.StickyNote") {
    add({From(item), subject, DateText(item.submit_time), DateText(item.delivery_time), DateText(item.delivery_time)});
  } else if (folder_class == "IPF.Task") {
    add({From(item), subject, DateText(item.submit_time), DateText(item.delivery_time), item.body.plain.value_or("")});
  } else if (folder_class == "IPF.Journal") {
    add({From(item), subject, DateText(item.submit_time), attachments});
  } else {
    throw std::logic_error("the sample has no folder of class " + folder_class);
  }
  return cells;
}

}  // namespace

std::vector<std::pair<const storegen::Mailbox*, std::vector<VisibleFolder>>> VisibleTree() {
  std::vector<std::pair<const storegen::Mailbox*, std::vector<VisibleFolder>>> tree;
  for (const storegen::Mailbox& mailbox : storegen::SampleStore().mailboxes) {
    if (!mailbox.display_name || !kUserMailboxes.count(*mailbox.display_name)) continue;
    std::vector<VisibleFolder> folders;
    for (const storegen::Folder& folder : mailbox.folders) {
      if (folder.display_name && !kSystemFolders.count(*folder.display_name)) folders.push_back({&mailbox, &folder});
    }
    tree.emplace_back(&mailbox, std::move(folders));
  }
  return tree;
}

int ExpectedImage(const std::string& folder_name) {
  static const std::map<std::string, int> images = {
      {"Inbox", 7},  {"Outbox", 11},   {"Sent Items", 12}, {"Deleted Items", 5}, {"Drafts", 6},
      {"Junk E-mails", 9}, {"Sync Issues", 14}, {"Calendar", 3}, {"Contacts", 4}, {"Tasks", 13},
      {"Notes", 10}, {"Journal", 8}};
  auto found = images.find(folder_name);
  return found == images.end() ? 0 : found->second;
}

std::string ExpectedClass(const storegen::Folder& folder) { return folder.container_class.value_or("Folder"); }

nlohmann::json ExpectedList(const storegen::Folder& folder) {
  const std::string folder_class = ExpectedClass(folder);
  nlohmann::json rows = nlohmann::json::array();
  int number = 0;
  for (const storegen::Item& item : folder.items) {
    std::vector<std::string> cells = Cells(folder_class, item, ++number);
    if (cells.empty()) continue;
    const size_t columns = Headings(*folder.display_name).size();
    cells.resize(columns);  // a list view drops what lies beyond its columns
    rows.push_back(cells);
  }
  return {{"folder", *folder.display_name},
          {"class", folder_class},
          {"columns", Headings(*folder.display_name)},
          {"rows", rows}};
}

std::string Edbrecover(const std::string& arguments, int* exit_code, bool with_stderr) {
  std::string out;
  *exit_code = edbtest::RunCommand(edbtest::Program("edbrecover").string() + " " + arguments +
                                       (with_stderr ? " 2>&1" : " 2>/dev/null"),
                                   &out);
  return out;
}

std::string QuotedSample() { return "'" + edbtest::SampleStore().string() + "'"; }

}  // namespace clitest
