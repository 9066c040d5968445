// Item families by container class, and the mail classes a listing shows.
#include "store/item_family.h"

#include <string_view>

namespace edb {

std::u16string OpenFolderClass(const std::u16string& container_class) {
  return container_class == u"IPF.Note" ? kMailFolderClass : container_class;
}

ItemFamily FamilyOfFolderClass(const std::u16string& c) {
  if (c == kMailFolderClass) return ItemFamily::kMail;
  if (c == u"IPM.Contact" || c == u"IPF.Contact") return ItemFamily::kContact;
  if (c == u"IPM.Appointment" || c == u"IPM.SchedulePlus.ExpansionData" || c == u"IPF.Appointment" ||
      c == u"IPF.SchedulePlus.ExpansionData") {
    return ItemFamily::kAppointment;
  }
  if (c == u"IPM.StickyNote" || c == u"IPF.StickyNote") return ItemFamily::kNote;
  if (c == u"IPM.Activity" || c == u"IPF.Activity") return ItemFamily::kActivity;
  if (c == u"IPM.Task" || c == u"IPF.Task") return ItemFamily::kTask;
  if (c == u"IPM.Journal" || c == u"IPF.Journal") return ItemFamily::kJournal;
  return ItemFamily::kNone;
}

bool IsListedMailClass(const std::u16string& message_class) {
  std::u16string_view c(message_class);
  if (c.starts_with(u"IPM.Microsoft.") || c.starts_with(u"IPM.Configuration.") || c.starts_with(u"IPM.Rule")) {
    return false;
  }
  return c != u"IPM.ExtendedRule.Message";
}

const char* FamilyName(ItemFamily family) {
  switch (family) {
    case ItemFamily::kMail: return "mail";
    case ItemFamily::kContact: return "contact";
    case ItemFamily::kAppointment: return "appointment";
    case ItemFamily::kNote: return "note";
    case ItemFamily::kActivity: return "activity";
    case ItemFamily::kTask: return "task";
    case ItemFamily::kJournal: return "journal";
    case ItemFamily::kNone: break;
  }
  return "";
}

}  // namespace edb
