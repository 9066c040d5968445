// MailItem to MIME message through GMime 3.
#include "export/mime_message.h"

#include <gmime/gmime.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

namespace edb {
namespace {

// Owns one GObject reference.
struct GObjectUnref {
  void operator()(void* object) const {
    if (object != nullptr) g_object_unref(object);
  }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

void InitGMimeOnce() {
  static std::once_flag once;
  std::call_once(once, [] { g_mime_init(); });
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

// Header fields the message always sets or rebuilds itself; an original
// field of these names is not copied.
bool IsOwnField(const std::string& lower_name) {
  static const std::set<std::string> kOwn = {"from", "to", "subject", "date", "message-id", "mime-version"};
  return kOwn.count(lower_name) > 0 || lower_name.rfind("content-", 0) == 0;
}

// The original header block's fields that are kept, each with its folded
// continuation lines, LF line ends, stopping at the first empty line.
std::string KeptOriginalFields(std::string_view headers) {
  std::string kept;
  bool keeping = false;
  size_t pos = 0;
  while (pos < headers.size()) {
    size_t end = headers.find('\n', pos);
    if (end == std::string_view::npos) end = headers.size();
    std::string_view line = headers.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) break;
    if (line.front() == ' ' || line.front() == '\t') {
      if (keeping) kept.append(line).append("\n");
      continue;
    }
    const size_t colon = line.find(':');
    const bool well_formed = colon != std::string_view::npos && colon > 0 &&
                             line.substr(0, colon).find_first_of(" \t") == std::string_view::npos;
    keeping = well_formed && !IsOwnField(Lower(line.substr(0, colon)));
    // Only 7-bit text goes in verbatim; a field with raw 8-bit bytes would
    // make the whole message unreadable to strict parsers.
    if (keeping) keeping = std::all_of(line.begin(), line.end(), [](unsigned char c) { return c < 0x80; });
    if (keeping) kept.append(line).append("\n");
  }
  return kept;
}

GMimeContentEncoding BestTextEncoding(GMimePart* part) {
  return g_mime_part_get_best_content_encoding(part, GMIME_ENCODING_CONSTRAINT_7BIT);
}

// A text part holding `text` as UTF-8 (g_mime_text_part_set_text would
// convert it to the smallest charset that fits, Latin-1 say).
GMimeObject* NewTextPart(const char* subtype, const std::string& text) {
  GMimeTextPart* part = g_mime_text_part_new_with_subtype(subtype);
  GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(text.data(), text.size()));
  GPtr<GMimeDataWrapper> content(g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
  g_mime_part_set_content(GMIME_PART(part), content.get());
  const bool ascii = std::all_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x80; });
  g_mime_text_part_set_charset(part, ascii ? "us-ascii" : "utf-8");
  g_mime_part_set_content_encoding(GMIME_PART(part), BestTextEncoding(GMIME_PART(part)));
  return GMIME_OBJECT(part);
}

// The body part: alternative of text and HTML, or one text part.
GMimeObject* NewBodyPart(const MailItem& item) {
  if (item.body_html.empty()) return NewTextPart("plain", item.body_text);
  GMimeMultipart* alternative = g_mime_multipart_new_with_subtype("alternative");
  const std::string text = item.body_text.empty() ? HtmlToText(item.body_html) : item.body_text;
  GPtr<GMimeObject> plain(NewTextPart("plain", text));
  GPtr<GMimeObject> html(NewTextPart("html", item.body_html));
  g_mime_multipart_add(alternative, plain.get());
  g_mime_multipart_add(alternative, html.get());
  return GMIME_OBJECT(alternative);
}

GMimeObject* NewAttachmentPart(const std::string& name, const std::string& data) {
  const std::string type = MimeTypeOfName(name);
  const size_t slash = type.find('/');
  GMimePart* part = g_mime_part_new_with_type(type.substr(0, slash).c_str(), type.substr(slash + 1).c_str());
  g_mime_object_set_disposition(GMIME_OBJECT(part), GMIME_DISPOSITION_ATTACHMENT);
  if (!name.empty()) g_mime_part_set_filename(part, name.c_str());
  GPtr<GMimeStream> stream(
      g_mime_stream_mem_new_with_buffer(reinterpret_cast<const char*>(data.data()), data.size()));
  GPtr<GMimeDataWrapper> content(g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
  g_mime_part_set_content(part, content.get());
  g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
  return GMIME_OBJECT(part);
}

std::string BareMessageId(std::string_view id) {
  while (!id.empty() && (id.front() == '<' || id.front() == ' ')) id.remove_prefix(1);
  while (!id.empty() && (id.back() == '>' || id.back() == ' ')) id.remove_suffix(1);
  return std::string(id);
}

void AddAddress(GMimeMessage* message, GMimeAddressType type, const MailAddress& address) {
  if (address.name.empty() && address.address.empty()) return;
  InternetAddressList* list = g_mime_message_get_addresses(message, type);
  if (address.address.empty()) {
    // A name without an address (an Exchange-internal sender, say) keeps
    // its name as an empty group, which parsers read without a defect.
    InternetAddress* group = internet_address_group_new(address.name.c_str());
    internet_address_list_add(list, group);
    g_object_unref(group);
    return;
  }
  InternetAddress* mailbox = internet_address_mailbox_new(address.name.c_str(), address.address.c_str());
  internet_address_set_charset(mailbox, "utf-8");
  internet_address_list_add(list, mailbox);
  g_object_unref(mailbox);
}

std::string Serialize(GMimeMessage* message) {
  GPtr<GMimeStream> stream(g_mime_stream_mem_new());
  GMimeFormatOptions* options = g_mime_format_options_new();
  g_mime_format_options_set_newline_format(options, GMIME_NEWLINE_FORMAT_UNIX);
  g_mime_object_write_to_stream(GMIME_OBJECT(message), options, stream.get());
  g_mime_format_options_free(options);
  GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream.get()));
  return std::string(reinterpret_cast<const char*>(bytes->data), bytes->len);
}

}  // namespace

std::string DerivedMessageId(std::string_view key) { return "<edb." + std::string(key) + "@edbrecover.invalid>"; }

ComposedMessage ComposeMessage(const MailItem& item) {
  InitGMimeOnce();
  ComposedMessage composed;
  GPtr<GMimeMessage> message(g_mime_message_new(TRUE));
  AddAddress(message.get(), GMIME_ADDRESS_TYPE_FROM, item.sender);
  for (const MailAddress& recipient : item.recipients) AddAddress(message.get(), GMIME_ADDRESS_TYPE_TO, recipient);
  g_mime_message_set_subject(message.get(), item.subject.c_str(), "utf-8");
  if (item.date) {
    GDateTime* date = g_date_time_new_from_unix_utc(*item.date);
    if (date != nullptr) {
      g_mime_message_set_date(message.get(), date);
      g_date_time_unref(date);
    }
  }
  std::string id = BareMessageId(item.message_id);
  if (id.empty()) id = BareMessageId(DerivedMessageId(item.key));
  g_mime_message_set_message_id(message.get(), id.c_str());

  GPtr<GMimeObject> body(NewBodyPart(item));
  if (item.attachments.empty()) {
    g_mime_message_set_mime_part(message.get(), body.get());
  } else {
    GPtr<GMimeMultipart> mixed(g_mime_multipart_new_with_subtype("mixed"));
    g_mime_multipart_add(mixed.get(), body.get());
    for (const MailAttachment& attachment : item.attachments) {
      Result<std::string> data = attachment.load ? attachment.load() : Result<std::string>(std::string());
      if (!data) {
        composed.problems.push_back("attachment \"" + attachment.name + "\": " + data.status().reason());
        continue;
      }
      GPtr<GMimeObject> part(NewAttachmentPart(attachment.name, *data));
      g_mime_multipart_add(mixed.get(), part.get());
      ++composed.attachments_written;
    }
    g_mime_message_set_mime_part(message.get(), GMIME_OBJECT(mixed.get()));
  }
  composed.bytes = KeptOriginalFields(item.internet_headers) + Serialize(message.get());
  return composed;
}

std::string MimeTypeOfName(std::string_view name) {
  static const std::pair<const char*, const char*> kTypes[] = {
      {"txt", "text/plain"},       {"htm", "text/html"},         {"html", "text/html"},
      {"csv", "text/csv"},         {"xml", "application/xml"},   {"pdf", "application/pdf"},
      {"zip", "application/zip"},  {"gz", "application/gzip"},   {"json", "application/json"},
      {"png", "image/png"},        {"jpg", "image/jpeg"},        {"jpeg", "image/jpeg"},
      {"gif", "image/gif"},        {"bmp", "image/bmp"},         {"tif", "image/tiff"},
      {"tiff", "image/tiff"},      {"svg", "image/svg+xml"},     {"ics", "text/calendar"},
      {"vcf", "text/vcard"},       {"eml", "message/rfc822"},    {"rtf", "application/rtf"},
      {"doc", "application/msword"},
      {"docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
      {"xls", "application/vnd.ms-excel"},
      {"xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
      {"ppt", "application/vnd.ms-powerpoint"},
      {"pptx", "application/vnd.openxmlformats-officedocument.presentationml.presentation"},
      {"mp3", "audio/mpeg"},       {"wav", "audio/wav"},         {"mp4", "video/mp4"},
  };
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) {
    const std::string extension = Lower(name.substr(dot + 1));
    for (const auto& [known, type] : kTypes) {
      if (extension == known) return type;
    }
  }
  return "application/octet-stream";
}

std::string HtmlToText(std::string_view html) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&nbsp;", " "}, {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&apos;", "'"}};
  static const char* kBreakTags[] = {"br", "/p", "/div", "/tr", "/li", "/h1", "/h2", "/h3", "p"};
  std::string text;
  size_t pos = 0;
  bool in_hidden = false;  // inside <style> or <script>
  while (pos < html.size()) {
    const char c = html[pos];
    if (c == '<') {
      const size_t end = html.find('>', pos);
      if (end == std::string_view::npos) break;
      std::string tag = Lower(html.substr(pos + 1, end - pos - 1));
      const size_t name_end = tag.find_first_of(" \t\r\n/", tag[0] == '/' ? 1 : 0);
      const std::string name = tag.substr(0, name_end);
      if (name == "style" || name == "script") in_hidden = true;
      if (name == "/style" || name == "/script") in_hidden = false;
      for (const char* br : kBreakTags) {
        if (name == br) text += '\n';
      }
      pos = end + 1;
      continue;
    }
    if (in_hidden) {
      ++pos;
      continue;
    }
    if (c == '&') {
      bool matched = false;
      for (const auto& [entity, replacement] : kEntities) {
        if (html.substr(pos).rfind(entity, 0) == 0) {
          text += replacement;
          pos += std::string_view(entity).size();
          matched = true;
          break;
        }
      }
      if (matched) continue;
    }
    if (c == '\r' || c == '\n' || c == '\t') {
      if (!text.empty() && text.back() != ' ' && text.back() != '\n') text += ' ';
    } else if (c != ' ' || (!text.empty() && text.back() != ' ' && text.back() != '\n')) {
      text += c;
    }
    ++pos;
  }
  // Trim each line's trailing blanks and at most one empty line in a row.
  std::string folded;
  size_t newlines = 0;
  for (char c : text) {
    if (c == '\n') {
      while (!folded.empty() && folded.back() == ' ') folded.pop_back();
      if (++newlines > 2) continue;
    } else {
      newlines = 0;
    }
    folded += c;
  }
  while (!folded.empty() && (folded.front() == '\n')) folded.erase(folded.begin());
  while (!folded.empty() && (folded.back() == '\n' || folded.back() == ' ')) folded.pop_back();
  return folded;
}

}  // namespace edb
