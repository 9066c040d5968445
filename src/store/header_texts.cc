// Header texts of folder contents rows.
#include "store/header_texts.h"

#include <array>

#include "store/address_parsing.h"

namespace edb {
namespace {

struct HeaderColumn {
  std::u16string_view name;
  std::optional<std::u16string> HeaderTexts::*text;
};

constexpr std::array<HeaderColumn, 16> kHeaderColumns = {{
    {u"N67b0", &HeaderTexts::key},
    {u"S1a", &HeaderTexts::message_class},
    {u"S42", &HeaderTexts::sender_name},
    {u"N67be", &HeaderTexts::sender_entry},
    {u"S3d", &HeaderTexts::subject_prefix},
    {u"Se1d", &HeaderTexts::normalized_subject},
    {u"T39", &HeaderTexts::submit_time},
    {u"Te06", &HeaderTexts::delivery_time},
    {u"Be1b", &HeaderTexts::has_attachments},
    {u"S1000", &HeaderTexts::plain_body},
    {u"S80fd", &HeaderTexts::location},
    {u"S3a09", &HeaderTexts::home_phone},
    {u"S3a08", &HeaderTexts::business_phone},
    {u"S3a1c", &HeaderTexts::mobile_phone},
    {u"S3a15", &HeaderTexts::postal_address},
    {u"S81b0", &HeaderTexts::email_address},
}};

const HeaderColumn* FindHeaderColumn(std::u16string_view column_name) {
  for (const HeaderColumn& column : kHeaderColumns) {
    if (column.name == column_name) return &column;
  }
  return nullptr;
}

}  // namespace

bool IsHeaderColumn(std::u16string_view column_name) { return FindHeaderColumn(column_name) != nullptr; }

void CaptureHeaderText(HeaderTexts* texts, std::u16string_view column_name, std::optional<std::u16string> text) {
  if (const HeaderColumn* column = FindHeaderColumn(column_name)) texts->*(column->text) = std::move(text);
}

std::u16string SubjectText(const HeaderTexts& texts) {
  return texts.subject_prefix.value_or(u"") + texts.normalized_subject.value_or(u"");
}

std::u16string FromText(const HeaderTexts& texts) {
  std::u16string from;
  if (texts.sender_name) from = *texts.sender_name + u";";
  if (texts.sender_entry) from += FormatSenderAddress(*texts.sender_entry);
  return from;
}

}  // namespace edb
