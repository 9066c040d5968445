// JSON store descriptions.
//
// Format (all texts UTF-8; members marked ? are optional; unknown members
// are errors, so typos do not pass silently):
//
// {
//   "plain_body_code_page"?: 1200 | 1252,          // "Msg" column "S1000"
//   "mailboxes": [ {
//     "key": "1a2b3c4d5e6f7001",                    // hex identifier, 1-16 digits
//     "display_name"?: "Mailbox - John Doe",
//     "legacy_dn"?: "/o=Contoso/...",
//     "folders"?: [ {
//       "id": "1000000000091c1",                    // contents table "1-91C1"
//       "parent"?: "1000000000091c0",
//       "display_name"?: "Inbox",
//       "container_class"?: "IPF.Note",
//       "layout"?: "key_first" | "date_first" | "wide",
//       "items"?: [ {
//         "key": "9f00000000010001",
//         "class"?: "IPM.Note",                     // left out: mail without class
//         "subject_prefix"?: "RE: ", "subject"?: "...",
//         "sender_name"?: "...",
//         "sender"?: {"name"?: "...", "type"?: "SMTP", "address"?: "..."},
//         "recipients"?: [ {"kind"?: "to"|"cc"|"bcc", "name"?:, "type"?:, "address"?:} ],
//         "recipient_text"?: "...",
//         "submit_time"?: "2004-01-05T13:07:09Z", "delivery_time"?:, "creation_time"?:,
//         "body"?: {
//           "plain"?: "...",
//           "rtf_text"? | "rtf_html"? | "rtf_raw"?: "...",  // at most one
//           "rtf_compressed"?: true,                        // false: uncompressed stream
//           "html"?: "...", "html_charset"?: "utf-8" | "windows-1252"
//         },
//         "attachments"?: [ <attachment> ],
//         "properties"?: {"S3a06": "Doe", "T820d": "2004-02-16T09:00:00Z"},  // "S…" text, "T…" time
//         "contents_blob"?: {"name"?: "...", <data>}      // wide layout only
//       } ]
//     } ]
//   } ],
//   "loose_attachments"?: [ <attachment> ]           // "1-23" records of no item
// }
//
// <attachment>: {"id"?: "...", "display_name"?:, "file_name"?:, "mime_type"?:, <data>}
// <data>: "data"?: text, or "data_base64"?: bytes; "repeat"?: n (the data n times)
#include "storegen/json_description.h"

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "storegen/identifiers.h"

namespace storegen {
namespace {

using nlohmann::json;

[[noreturn]] void Fail(const std::string& where, const std::string& why) {
  throw std::invalid_argument(where + ": " + why);
}

// A JSON object being read: remembers which members were used so that
// unknown ones can be reported.
class Members {
 public:
  Members(const json& value, std::string where) : value_(value), where_(std::move(where)) {
    if (!value_.is_object()) Fail(where_.empty() ? "description" : where_, "must be an object");
  }

  const std::string& where() const { return where_; }
  std::string At(const std::string& member) const { return where_.empty() ? member : where_ + "." + member; }

  const json* Find(const std::string& member) {
    known_.push_back(member);
    const auto it = value_.find(member);
    return it == value_.end() ? nullptr : &*it;
  }

  std::optional<std::string> Text(const std::string& member) {
    const json* v = Find(member);
    if (v == nullptr) return std::nullopt;
    if (!v->is_string()) Fail(At(member), "must be a text");
    return v->get<std::string>();
  }

  std::string RequiredText(const std::string& member) {
    std::optional<std::string> text = Text(member);
    if (!text) Fail(At(member), "is missing");
    return *text;
  }

  std::optional<Id> Identifier(const std::string& member) {
    const std::optional<std::string> text = Text(member);
    if (!text) return std::nullopt;
    try {
      return ParseIdText(*text);
    } catch (const std::invalid_argument& e) {
      Fail(At(member), e.what());
    }
  }

  Id RequiredIdentifier(const std::string& member) {
    const std::optional<Id> id = Identifier(member);
    if (!id) Fail(At(member), "is missing");
    return *id;
  }

  std::optional<FileTime> Time(const std::string& member) {
    const std::optional<std::string> text = Text(member);
    if (!text) return std::nullopt;
    try {
      return ParseIsoTime(*text);
    } catch (const std::invalid_argument& e) {
      Fail(At(member), e.what());
    }
  }

  std::optional<bool> Bool(const std::string& member) {
    const json* v = Find(member);
    if (v == nullptr) return std::nullopt;
    if (!v->is_boolean()) Fail(At(member), "must be true or false");
    return v->get<bool>();
  }

  std::optional<uint64_t> Count(const std::string& member) {
    const json* v = Find(member);
    if (v == nullptr) return std::nullopt;
    if (!v->is_number_unsigned()) Fail(At(member), "must be a whole number of at least 0");
    return v->get<uint64_t>();
  }

  // The array member's elements (none when absent).
  const json::array_t* Array(const std::string& member) {
    const json* v = Find(member);
    if (v == nullptr) return nullptr;
    if (!v->is_array()) Fail(At(member), "must be an array");
    return &v->get_ref<const json::array_t&>();
  }

  // Call after reading: fails on a member that was never asked for.
  void RejectUnknown() const {
    for (const auto& [name, unused] : value_.items()) {
      if (std::find(known_.begin(), known_.end(), name) == known_.end()) Fail(At(name), "unknown member");
    }
  }

 private:
  const json& value_;
  std::string where_;
  std::vector<std::string> known_;
};

std::string DecodeBase64(const std::string& text, const std::string& where) {
  auto value_of = [](char c) -> int {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
  };
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    if (c == '=' || c == '\n' || c == '\r' || c == ' ') continue;
    const int v = value_of(c);
    if (v < 0) Fail(where, "not base64");
    bits = (bits << 6) | static_cast<uint32_t>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out.push_back(static_cast<char>((bits >> count) & 0xFF));
    }
  }
  return out;
}

// "data" or "data_base64", repeated "repeat" times.
std::string ReadData(Members& m) {
  const std::optional<std::string> text = m.Text("data");
  const std::optional<std::string> base64 = m.Text("data_base64");
  if (text && base64) Fail(m.where(), "give \"data\" or \"data_base64\", not both");
  const std::string once = text ? *text : base64 ? DecodeBase64(*base64, m.At("data_base64")) : std::string();
  const uint64_t repeat = m.Count("repeat").value_or(1);
  if (repeat > 0 && once.size() * repeat > (256u << 20)) Fail(m.At("repeat"), "data larger than 256 MiB");
  std::string out;
  out.reserve(once.size() * repeat);
  for (uint64_t i = 0; i < repeat; ++i) out += once;
  return out;
}

Attachment ReadAttachment(const json& value, const std::string& where) {
  Members m(value, where);
  Attachment a;
  a.id = m.Identifier("id");
  a.display_name = m.Text("display_name");
  a.file_name = m.Text("file_name");
  a.mime_type = m.Text("mime_type").value_or("");
  a.data = ReadData(m);
  m.RejectUnknown();
  return a;
}

std::vector<Attachment> ReadAttachments(Members& m, const std::string& member) {
  std::vector<Attachment> out;
  if (const json::array_t* array = m.Array(member)) {
    for (size_t i = 0; i < array->size(); ++i) {
      out.push_back(ReadAttachment((*array)[i], m.At(member) + "[" + std::to_string(i) + "]"));
    }
  }
  return out;
}

AddressEntry ReadAddress(Members& m) {
  AddressEntry e;
  e.display_name = m.Text("name").value_or("");
  e.address_type = m.Text("type").value_or("");
  e.address = m.Text("address").value_or("");
  return e;
}

Recipient ReadRecipient(const json& value, const std::string& where) {
  Members m(value, where);
  Recipient r;
  const std::string kind = m.Text("kind").value_or("to");
  if (kind == "to") {
    r.type = RecipientType::kTo;
  } else if (kind == "cc") {
    r.type = RecipientType::kCc;
  } else if (kind == "bcc") {
    r.type = RecipientType::kBcc;
  } else {
    Fail(m.At("kind"), "must be \"to\", \"cc\" or \"bcc\"");
  }
  r.entry = ReadAddress(m);
  m.RejectUnknown();
  return r;
}

Body ReadBody(const json& value, const std::string& where) {
  Members m(value, where);
  Body body;
  body.plain = m.Text("plain");
  const std::pair<const char*, RtfKind> rtf_members[] = {
      {"rtf_text", RtfKind::kFromText}, {"rtf_html", RtfKind::kFromHtml}, {"rtf_raw", RtfKind::kRaw}};
  for (const auto& [member, kind] : rtf_members) {
    if (std::optional<std::string> source = m.Text(member)) {
      if (body.rtf_kind != RtfKind::kNone) Fail(m.At(member), "a body has one RTF source at most");
      body.rtf_kind = kind;
      body.rtf_source = std::move(*source);
    }
  }
  body.rtf_compressed = m.Bool("rtf_compressed").value_or(true);
  body.html = m.Text("html");
  const std::string charset = m.Text("html_charset").value_or("utf-8");
  if (charset == "utf-8") {
    body.html_charset = HtmlCharset::kUtf8;
  } else if (charset == "windows-1252") {
    body.html_charset = HtmlCharset::kWindows1252;
  } else {
    Fail(m.At("html_charset"), "must be \"utf-8\" or \"windows-1252\"");
  }
  m.RejectUnknown();
  return body;
}

void ReadProperties(Members& m, Item* item) {
  const json* properties = m.Find("properties");
  if (properties == nullptr) return;
  const std::string where = m.At("properties");
  if (!properties->is_object()) Fail(where, "must be an object");
  for (const auto& [column, value] : properties->items()) {
    const std::string at = where + "." + column;
    if (!value.is_string()) Fail(at, "must be a text");
    if (column.starts_with("S")) {
      item->text_properties[column] = value.get<std::string>();
    } else if (column.starts_with("T")) {
      try {
        item->time_properties[column] = ParseIsoTime(value.get<std::string>());
      } catch (const std::invalid_argument& e) {
        Fail(at, e.what());
      }
    } else {
      Fail(at, "only text (\"S…\") and time (\"T…\") columns can be given");
    }
  }
}

Item ReadItem(const json& value, const std::string& where) {
  Members m(value, where);
  Item item;
  item.key = m.RequiredIdentifier("key");
  item.message_class = m.Text("class");
  item.subject_prefix = m.Text("subject_prefix").value_or("");
  item.subject = m.Text("subject").value_or("");
  item.sender_name = m.Text("sender_name");
  if (const json* sender = m.Find("sender")) {
    Members s(*sender, m.At("sender"));
    item.sender = ReadAddress(s);
    s.RejectUnknown();
  }
  if (const json::array_t* recipients = m.Array("recipients")) {
    for (size_t i = 0; i < recipients->size(); ++i) {
      item.recipients.push_back(ReadRecipient((*recipients)[i], m.At("recipients") + "[" + std::to_string(i) + "]"));
    }
  }
  item.recipient_text = m.Text("recipient_text");
  item.submit_time = m.Time("submit_time");
  item.delivery_time = m.Time("delivery_time");
  item.creation_time = m.Time("creation_time");
  if (const json* body = m.Find("body")) item.body = ReadBody(*body, m.At("body"));
  item.attachments = ReadAttachments(m, "attachments");
  ReadProperties(m, &item);
  if (const json* blob = m.Find("contents_blob")) {
    Members b(*blob, m.At("contents_blob"));
    ContentsBlob contents;
    contents.name = b.Text("name");
    contents.data = ReadData(b);
    b.RejectUnknown();
    item.contents_blob = std::move(contents);
  }
  m.RejectUnknown();
  return item;
}

ContentsLayout ReadLayout(Members& m) {
  const std::string layout = m.Text("layout").value_or("key_first");
  if (layout == "key_first") return ContentsLayout::kKeyFirst;
  if (layout == "date_first") return ContentsLayout::kDateFirst;
  if (layout == "wide") return ContentsLayout::kWide;
  Fail(m.At("layout"), "must be \"key_first\", \"date_first\" or \"wide\"");
}

Folder ReadFolder(const json& value, const std::string& where) {
  Members m(value, where);
  Folder f;
  f.id = m.RequiredIdentifier("id");
  f.parent_id = m.Identifier("parent");
  f.display_name = m.Text("display_name");
  f.container_class = m.Text("container_class");
  f.layout = ReadLayout(m);
  if (const json::array_t* items = m.Array("items")) {
    for (size_t i = 0; i < items->size(); ++i) {
      f.items.push_back(ReadItem((*items)[i], m.At("items") + "[" + std::to_string(i) + "]"));
    }
  }
  m.RejectUnknown();
  return f;
}

Mailbox ReadMailbox(const json& value, const std::string& where) {
  Members m(value, where);
  Mailbox mailbox;
  mailbox.key = m.RequiredIdentifier("key");
  mailbox.display_name = m.Text("display_name");
  mailbox.legacy_dn = m.Text("legacy_dn").value_or("");
  if (const json::array_t* folders = m.Array("folders")) {
    for (size_t i = 0; i < folders->size(); ++i) {
      mailbox.folders.push_back(ReadFolder((*folders)[i], m.At("folders") + "[" + std::to_string(i) + "]"));
    }
  }
  m.RejectUnknown();
  return mailbox;
}

}  // namespace

StoreDescription ParseStoreDescription(std::string_view json_text) {
  json document;
  try {
    document = json::parse(json_text);
  } catch (const json::parse_error& e) {
    throw std::invalid_argument(std::string("description is not valid JSON: ") + e.what());
  }
  Members m(document, "");
  StoreDescription store;
  if (const std::optional<uint64_t> code_page = m.Count("plain_body_code_page")) {
    if (*code_page != 1200 && *code_page != 1252) Fail(m.At("plain_body_code_page"), "must be 1200 or 1252");
    store.plain_body_code_page = static_cast<uint32_t>(*code_page);
  }
  const json::array_t* mailboxes = m.Array("mailboxes");
  if (mailboxes == nullptr) Fail(m.At("mailboxes"), "is missing");
  for (size_t i = 0; i < mailboxes->size(); ++i) {
    store.mailboxes.push_back(ReadMailbox((*mailboxes)[i], "mailboxes[" + std::to_string(i) + "]"));
  }
  store.loose_attachments = ReadAttachments(m, "loose_attachments");
  m.RejectUnknown();
  return store;
}

StoreDescription LoadStoreDescription(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return ParseStoreDescription(text.str());
}

}  // namespace storegen
