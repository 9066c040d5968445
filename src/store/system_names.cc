// System mailbox prefixes and system folder names.
#include "store/system_names.h"

#include <array>
#include <string_view>

namespace edb {
namespace {

constexpr std::array<std::u16string_view, 5> kSystemMailboxPrefixes = {
    u"SMTP (", u"Mailbox - SystemMailbox{", u"Mailbox - /o=", u"/o=", u"Mailbox - System Attendant"};

constexpr std::array<std::u16string_view, 17> kSystemFolderNames = {
    u"Top of Information Store", u"Finder", u"Views", u"Common Views", u"Schedule", u"Shortcuts",
    u"Spam Mail", u"Approved Sender List", u"Spooler", u"Deferred Action", u"Conflicts",
    u"Local Failures", u"Server Failures", u"Freebusy Data", u"Spooler Queue", u"Restriction",
    u"Categorization"};

}  // namespace

bool IsSystemMailboxName(const std::u16string& name) {
  std::u16string_view view(name);
  for (std::u16string_view prefix : kSystemMailboxPrefixes) {
    if (view.starts_with(prefix)) return true;
  }
  return false;
}

bool IsSystemFolderName(const std::u16string& name) {
  for (std::u16string_view system_name : kSystemFolderNames) {
    if (name == system_name) return true;
  }
  return false;
}

}  // namespace edb
