// Message list columns by clicked tree item.
#include "app/ui/list_columns.h"

namespace edb {

std::vector<ListColumn> ListColumnsFor(const std::u16string& item_text) {
  if (item_text == u"Contacts") {
    return {{u"", 0},
            {u"Type", 80},
            {u"S.No", 40},
            {u"Full name", 80},
            {u"First name", 80},
            {u"Last name", 80},
            {u"Home Phone No", 80},
            {u"Business Phone No", 80},
            {u"Mobile Phone No", 80},
            {u"Business Address", 80},
            {u"Email Address", 80},
            {u"Date", 80}};
  }
  if (item_text == u"Sent Items") {
    return {{u"", 5}, {u"Type", 80}, {u"S.No", 40}, {u"To", 149}, {u"Subject", 149}, {u"Date", 149},
            {u"Attachment", 148}};
  }
  if (item_text == u"Calendar") {
    return {{u"", 5},          {u"Type", 80},     {u"S.No", 40},    {u"To", 149},
            {u"Subject", 149}, {u"Start Date", 149}, {u"End Date", 148}, {u"Status", 148}};
  }
  if (item_text == u"Tasks") {
    return {{u"", 5},          {u"Type", 80},        {u"S.No", 40},      {u"From", 149},
            {u"Subject", 149}, {u"Start Date", 149}, {u"End Date", 148}, {u"Message", 148}};
  }
  return {{u"", 5}, {u"Type", 80}, {u"S.No", 40}, {u"From", 149}, {u"Subject", 149}, {u"Date", 149},
          {u"Attachment", 148}};
}

}  // namespace edb
