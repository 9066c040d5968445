// Preview pages of appointments, journal entries and tasks.
#include "app/ui/preview_pages.h"

#include <initializer_list>
#include <utility>

namespace edb {
namespace {

std::u16string PageOf(std::initializer_list<std::pair<const char16_t*, std::u16string>> lines) {
  std::u16string page;
  for (const auto& [label, text] : lines) {
    page += label;
    page += text;
    page += u" <br>";
  }
  return page;
}

}  // namespace

std::u16string AppointmentPage(const RowTexts& row) {
  return PageOf({{u"From : ", row[3]},
                 {u"Subject : ", row[4]},
                 {u"Start Date : ", row[5]},
                 {u"End Date : ", row[6]},
                 {u"Status : ", row[7]}});
}

std::u16string JournalPage(const RowTexts& row) {
  return PageOf({{u"From : ", row[3]}, {u"Subject : ", row[4]}, {u"Attchment : ", u""}, {u"Date : ", row[5]}});
}

std::u16string TaskPage(const RowTexts& row) {
  return PageOf({{u"From : ", row[3]},
                 {u"Subject : ", row[4]},
                 {u"Start Date : ", row[5]},
                 {u"End Date : ", row[6]},
                 {u"Message : ", row[7]}});
}

}  // namespace edb
