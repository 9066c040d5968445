// Safe names in the target store: percent and list escapes, modified UTF-7,
// length bounds.
#include "export/target_names.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace edb {
namespace {

// `prefix` and two hexadecimal digits (lower-case for "\\", as Dovecot's
// list escape writes them; upper-case for "%").
std::string HexEscape(char prefix, unsigned char byte) {
  char text[4];
  std::snprintf(text, sizeof(text), prefix == '%' ? "%c%02X" : "%c%02x", prefix, byte);
  return text;
}

// FNV-1a of the whole name: distinguishes cut names that share a prefix.
std::string NameHash(std::string_view name) {
  uint64_t hash = 1469598103934665603ull;
  for (unsigned char c : name) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char text[20];
  std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// Length of the UTF-8 sequence starting with `lead`, or 0 when `lead` cannot start one.
size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Decodes the code point at `text[*pos]`, advancing `*pos`; U+FFFD for an invalid byte.
char32_t NextCodePoint(std::string_view text, size_t* pos) {
  const unsigned char lead = static_cast<unsigned char>(text[*pos]);
  const size_t length = Utf8SequenceLength(lead);
  if (length == 0 || *pos + length > text.size()) {
    ++*pos;
    return 0xFFFD;
  }
  if (length == 1) {
    ++*pos;
    return lead;
  }
  char32_t code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    const unsigned char next = static_cast<unsigned char>(text[*pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++*pos;
      return 0xFFFD;
    }
    code = (code << 6) | (next & 0x3F);
  }
  *pos += length;
  return code;
}

// Appends `parts` (escaped units, each kept whole) to a name, cutting when
// the result would pass the bound and marking the cut with a hash.
std::string Bounded(const std::vector<std::string>& parts, std::string_view whole) {
  size_t total = 0;
  for (const std::string& part : parts) total += part.size();
  std::string name;
  if (total <= kMaxTargetNameBytes) {
    for (const std::string& part : parts) name += part;
    return name;
  }
  const std::string suffix = "~" + NameHash(whole);
  for (const std::string& part : parts) {
    if (name.size() + part.size() + suffix.size() > kMaxTargetNameBytes) break;
    name += part;
  }
  return name + suffix;
}

// The levels of a folder name: "/" separates folders where it stands
// between two names ("Projects/2004" is 2004 inside Projects, as IMAP shows
// it with "/" as separator). In a name with an empty piece ("/", "a//b",
// "a/") no "/" can be a level, and IMAP has no other way to show one, so
// each becomes U+2215 DIVISION SLASH, which looks the same.
std::vector<std::string> HierarchyLevels(std::string_view name) {
  std::vector<std::string> levels;
  size_t start = 0;
  for (;;) {
    const size_t end = name.find('/', start);
    levels.emplace_back(name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  bool all_named = levels.size() > 1;
  for (const std::string& level : levels) all_named = all_named && !level.empty();
  if (all_named || levels.size() == 1) return levels;
  std::string whole;
  for (char c : name) whole += c == '/' ? std::string("\xE2\x88\x95") : std::string(1, c);
  return {whole};
}

// The pieces of a Maildir++ folder directory name, each kept whole when a
// long name is cut: levels joined by ".", each level as Dovecot's maildir++
// layout with the listescape plugin stores it, so that Dovecot opens the
// folder under the name it lists: modified UTF-7 (control characters too
// go into its base64 runs), then ".", "\\", and "~" at the start of a
// level written as "\\xx". Runs of non-ASCII characters are encoded whole
// (two adjacent runs are not valid modified UTF-7), or in pieces of at most
// `max_run_bytes` of UTF-8.
std::vector<std::string> MaildirNameParts(const std::vector<std::string>& levels, size_t max_run_bytes) {
  std::vector<std::string> parts;
  std::string pending;  // consecutive characters that are not printable ASCII
  auto flush = [&] {
    if (!pending.empty()) parts.push_back(ModifiedUtf7(pending));
    pending.clear();
  };
  for (size_t index = 0; index < levels.size(); ++index) {
    const std::string& level = levels[index];
    if (index > 0) parts.emplace_back(".");
    size_t pos = 0;
    while (pos < level.size()) {
      const size_t start = pos;
      const char32_t code = NextCodePoint(level, &pos);
      const bool printable_ascii = code >= 0x20 && code <= 0x7E;
      if (!printable_ascii) {
        // An invalid byte counts as U+FFFD, as ModifiedUtf7 reads it.
        pending.append(level.substr(start, pos - start));
        if (pending.size() >= max_run_bytes) flush();
        continue;
      }
      flush();
      if (code == '.' || code == '\\' || (code == '~' && start == 0)) {
        parts.push_back(HexEscape('\\', static_cast<unsigned char>(code)));
      } else {
        parts.push_back(ModifiedUtf7(level.substr(start, pos - start)));
      }
    }
    flush();
  }
  return parts;
}

}  // namespace

std::string SafeComponentName(std::string_view name) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos < name.size()) {
    const size_t start = pos;
    const unsigned char byte = static_cast<unsigned char>(name[pos]);
    const size_t length = Utf8SequenceLength(byte);
    bool valid = length > 0 && pos + length <= name.size();
    for (size_t i = 1; valid && i < length; ++i) {
      valid = (static_cast<unsigned char>(name[pos + i]) & 0xC0) == 0x80;
    }
    if (!valid) {
      parts.push_back(HexEscape('%', byte));
      ++pos;
      continue;
    }
    pos += length;
    if (length == 1 && (byte < 0x20 || byte == 0x7F || byte == '/' || byte == '\\' || byte == '%' ||
                        (start == 0 && byte == '.'))) {
      parts.push_back(HexEscape('%', byte));
    } else {
      parts.emplace_back(name.substr(start, length));
    }
  }
  if (parts.empty()) return "%";
  return Bounded(parts, name);
}

std::string ModifiedUtf7(std::string_view text) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+,";
  std::string out;
  std::u16string run;  // non-ASCII characters waiting to be encoded
  auto flush = [&] {
    if (run.empty()) return;
    out += '&';
    uint32_t bits = 0;
    int count = 0;
    for (char16_t unit : run) {
      bits = (bits << 16) | unit;
      count += 16;
      while (count >= 6) {
        count -= 6;
        out += kAlphabet[(bits >> count) & 0x3F];
      }
    }
    if (count > 0) out += kAlphabet[(bits << (6 - count)) & 0x3F];
    out += '-';
    run.clear();
  };
  size_t pos = 0;
  while (pos < text.size()) {
    const char32_t code = NextCodePoint(text, &pos);
    if (code >= 0x20 && code <= 0x7E) {
      flush();
      out += static_cast<char>(code);
      if (code == '&') out += '-';
    } else if (code >= 0x10000) {
      const char32_t v = code - 0x10000;
      run += static_cast<char16_t>(0xD800 + (v >> 10));
      run += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    } else {
      run += static_cast<char16_t>(code);
    }
  }
  flush();
  return out;
}

std::string MaildirFolderDirectory(std::string_view name) {
  const std::vector<std::string> levels = HierarchyLevels(name);
  std::vector<std::string> parts = MaildirNameParts(levels, std::string::npos);
  size_t total = 0;
  for (const std::string& part : parts) total += part.size();
  // Only a name that must be cut anyway has its non-ASCII runs split, so
  // that the cut never falls inside a "&...-" run.
  if (total > kMaxTargetNameBytes) parts = MaildirNameParts(levels, 24);
  if (parts.empty()) parts.emplace_back("(no name)");  // an empty name still needs a folder
  return "." + Bounded(parts, name);
}

std::string KeyFileStem(std::string_view key) {
  std::vector<std::string> parts;
  for (unsigned char c : key) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' ||
                       c == '_';
    if (plain) {
      parts.emplace_back(1, static_cast<char>(c));
    } else {
      parts.push_back(HexEscape('%', c));
    }
  }
  if (parts.empty()) return "item";
  return Bounded(parts, key);
}

}  // namespace edb
