// Tree images of folders by display name and container class.
#include "app/ui/folder_image.h"

#include <array>

namespace edb {
namespace {

struct ImageRule {
  int image;
  const char16_t* upper_name;
  const char16_t* class_ipf;  // null when the row matches no class
  const char16_t* class_ipm;
};

constexpr std::array<ImageRule, 12> kRules = {{
    {kImageCalendar, u"CALENDAR", u"IPF.Appointment", u"IPM.Appointment"},
    {kImageContacts, u"CONTACTS", u"IPF.Contact", u"IPM.Contact"},
    {kImageDeletedItems, u"DELETED ITEMS", nullptr, nullptr},
    {kImageDrafts, u"DRAFTS", nullptr, nullptr},
    {kImageInbox, u"INBOX", nullptr, nullptr},
    {kImageJournal, u"JOURNAL", u"IPF.Journal", u"IPM.Journal"},
    {kImageJunk, u"JUNK E-MAILS", nullptr, nullptr},
    {kImageNotes, u"NOTES", u"IPF.StickyNote", u"IPM.StickyNote"},
    {kImageOutbox, u"OUTBOX", nullptr, nullptr},
    {kImageSentItems, u"SENT ITEMS", nullptr, nullptr},
    {kImageTasks, u"TASKS", u"IPF.Task", u"IPM.Task"},
    {kImageSyncIssues, u"SYNC ISSUES", nullptr, nullptr},
}};

bool ClassMatches(const ImageRule& rule, const std::optional<std::u16string>& container_class) {
  if (!container_class || rule.class_ipf == nullptr) return false;
  return *container_class == rule.class_ipf || *container_class == rule.class_ipm;
}

}  // namespace

std::u16string AsciiUpper(const std::u16string& text) {
  std::u16string upper = text;
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return upper;
}

int FolderImage(const std::u16string& label, const std::optional<std::u16string>& container_class) {
  std::u16string upper = AsciiUpper(label);
  for (const ImageRule& rule : kRules) {
    if (upper == rule.upper_name || ClassMatches(rule, container_class)) return rule.image;
  }
  return kImagePlain;
}

}  // namespace edb
