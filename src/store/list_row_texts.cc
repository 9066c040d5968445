// Header texts of folder contents rows.
#include "store/list_row_texts.h"

#include <array>

#include "store/address_parsing.h"

namespace edb {
namespace {

struct HeaderColumn {
  std::u16string_view name;
  std::optional<std::u16string> ListRowTexts::*text;
};

constexpr std::array<HeaderColumn, 16> kHeaderColumns = {{
    {u"N67b0", &ListRowTexts::key},
    {u"S1a", &ListRowTexts::message_class},
    {u"S42", &ListRowTexts::sender_name},
    {u"N67be", &ListRowTexts::sender_entry},
    {u"S3d", &ListRowTexts::subject_prefix},
    {u"Se1d", &ListRowTexts::normalized_subject},
    {u"T39", &ListRowTexts::submit_time},
    {u"Te06", &ListRowTexts::delivery_time},
    {u"Be1b", &ListRowTexts::has_attachments},
    {u"S1000", &ListRowTexts::plain_body},
    {u"S80fd", &ListRowTexts::location},
    {u"S3a09", &ListRowTexts::home_phone},
    {u"S3a08", &ListRowTexts::business_phone},
    {u"S3a1c", &ListRowTexts::mobile_phone},
    {u"S3a15", &ListRowTexts::postal_address},
    {u"S81b0", &ListRowTexts::email_address},
}};

const HeaderColumn* FindHeaderColumn(std::u16string_view column_name) {
  for (const HeaderColumn& column : kHeaderColumns) {
    if (column.name == column_name) return &column;
  }
  return nullptr;
}

}  // namespace

bool IsListColumn(std::u16string_view column_name) { return FindHeaderColumn(column_name) != nullptr; }

void CaptureListRowText(ListRowTexts* texts, std::u16string_view column_name, std::optional<std::u16string> text) {
  if (const HeaderColumn* column = FindHeaderColumn(column_name)) texts->*(column->text) = std::move(text);
}

std::u16string SubjectText(const ListRowTexts& texts) {
  return texts.subject_prefix.value_or(u"") + texts.normalized_subject.value_or(u"");
}

std::u16string FromText(const ListRowTexts& texts) {
  std::u16string from;
  if (texts.sender_name) from = *texts.sender_name + u";";
  if (texts.sender_entry) from += FormatSenderAddress(*texts.sender_entry);
  return from;
}

}  // namespace edb
