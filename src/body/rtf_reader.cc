// The RTF reader: a single pass over the document's bytes with a stack of
// group states. Bytes that need a code page are gathered and converted in
// runs, so double-byte code pages decode their pairs together.
#include "body/rtf_reader.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <unordered_map>
#include <vector>

#include "body/rtf_keyword_table.h"

namespace edb {
namespace {

// Groups deeper than this share the state of the deepest saved one: hostile
// input cannot make the state stack outgrow a fixed size.
constexpr size_t kMaxSavedGroups = 4096;
// Digits of a numeric parameter beyond what an int holds are read but
// saturate.
constexpr long kMaxParameter = 1'000'000'000;

enum class Destination : uint8_t {
  kText,       // body text
  kSkip,       // text of the group is dropped
  kAlternate,  // dropped, but an inner \ud or \result group is text again
  kFontTable,  // font numbers and their charsets
  kHtmlTag,    // a fragment of encapsulated HTML
};

struct GroupState {
  Destination destination = Destination::kText;
  bool html_rtf = false;    // inside \htmlrtf ... \htmlrtf0
  int fallback_length = 1;  // \ucN
  uint32_t font_code_page = 0;  // of the current \fN; 0: the document's
};

struct Font {
  int charset_code_page = 0;
  int code_page = 0;  // \cpgN, which wins over the charset
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// All state of one document lives here, so a new document is a new object.
class DocumentReader {
 public:
  DocumentReader(std::string_view in, CodePageDecoder* decoder, RtfText* out)
      : in_(in), decoder_(decoder), out_(out) {}

  RtfResult Read() {
    RtfResult result = ReadGroups();
    FlushBytes();
    out_->html = html_;
    return result;
  }

 private:
  RtfResult ReadGroups() {
    while (pos_ < in_.size()) {
      char c = in_[pos_++];
      switch (c) {
        case '\\': {
          if (pos_ >= in_.size()) return RtfResult::kEndAfterBackslash;
          ReadControl();
          break;
        }
        case '{':
          OpenGroup();
          break;
        case '}':
          if (depth_ == 0) return RtfResult::kUnmatchedBrace;
          CloseGroup();
          if (depth_ == 0) return problem_;  // the end of the document
          break;
        case '\r':
        case '\n':
        case '\0':
          break;
        default:
          if (fallback_left_ == 0 && pending_.empty() && static_cast<uint8_t>(c) < 0x80) {
            AddAsciiRun();
          } else {
            AddByte(static_cast<uint8_t>(c));
          }
          break;
      }
    }
    return depth_ > 0 ? RtfResult::kUnclosedGroup : problem_;
  }

  void OpenGroup() {
    fallback_left_ = 0;
    if (stack_.size() < kMaxSavedGroups) {
      stack_.push_back(state_);
    } else {
      ++unsaved_groups_;
    }
    ++depth_;
  }

  void CloseGroup() {
    fallback_left_ = 0;
    FlushBytes();
    if (unsaved_groups_ > 0) {
      --unsaved_groups_;
    } else {
      state_ = stack_.back();
      stack_.pop_back();
    }
    --depth_;
    visible_ = Visible();
  }

  // After a backslash: a control symbol (one non-letter) or a control word
  // (letters, an optional signed number, and an optional space that belongs
  // to it).
  void ReadControl() {
    size_t start = pos_;
    if (!IsLetter(in_[pos_])) {
      ++pos_;
      Dispatch(in_.substr(start, 1), false, 0);
      return;
    }
    while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
    std::string_view name = in_.substr(start, pos_ - start);
    bool negative = false;
    if (pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    bool has_parameter = false;
    long parameter = 0;
    while (pos_ < in_.size() && IsDigit(in_[pos_])) {
      has_parameter = true;
      parameter = std::min(parameter * 10 + (in_[pos_] - '0'), kMaxParameter);
      ++pos_;
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    Dispatch(name, has_parameter, static_cast<int>(negative ? -parameter : parameter));
  }

  void Dispatch(std::string_view name, bool has_parameter, int parameter) {
    bool ignorable = ignorable_;
    ignorable_ = false;
    const RtfKeyword* row = FindRtfKeyword(name);
    if (row == nullptr) {
      if (ignorable) state_.destination = Destination::kSkip;
      visible_ = Visible();
      ConsumeFallback();
      return;
    }
    DispatchKeyword(*row, has_parameter, parameter);
    visible_ = Visible();
  }

  void DispatchKeyword(const RtfKeyword& keyword, bool has_parameter, int parameter) {
    const RtfKeyword* row = &keyword;
    switch (row->kind) {
      case RtfKeywordKind::kDestination:
        state_.destination = Destination::kSkip;
        break;
      case RtfKeywordKind::kAlternate:
        state_.destination =
            state_.destination == Destination::kText ? Destination::kAlternate : Destination::kSkip;
        break;
      case RtfKeywordKind::kAlternateText:
        if (state_.destination == Destination::kAlternate) state_.destination = Destination::kText;
        break;
      case RtfKeywordKind::kCharacter: {
        char16_t c = html_ ? row->html_value : static_cast<char16_t>(row->value);
        if (c != 0) {
          AddCharacter(c);
        } else {
          ConsumeFallback();
        }
        break;
      }
      case RtfKeywordKind::kParagraph:
        if (html_) {
          if (!ConsumeFallback() && visible_) {
            AddText(u'\r');
            AddText(u'\n');
          }
        } else {
          AddCharacter(u'\n');
        }
        break;
      case RtfKeywordKind::kBinary:
        SkipBinary(has_parameter ? parameter : 0);
        break;
      case RtfKeywordKind::kIgnorable:
        ignorable_ = true;
        break;
      case RtfKeywordKind::kHexByte:
        ReadHexByte();
        break;
      case RtfKeywordKind::kUnicode:
        if (has_parameter) AddUnicode(parameter);
        break;
      case RtfKeywordKind::kUnicodeSkip:
        state_.fallback_length = has_parameter ? std::max(parameter, 0) : 1;
        break;
      case RtfKeywordKind::kFontTable:
        state_.destination = Destination::kFontTable;
        break;
      case RtfKeywordKind::kFont:
        if (state_.destination == Destination::kFontTable) {
          font_entry_ = has_parameter ? parameter : -1;
        } else if (has_parameter) {
          state_.font_code_page = FontCodePage(parameter);
        }
        break;
      case RtfKeywordKind::kFontCharset:
        if (state_.destination == Destination::kFontTable && font_entry_ >= 0)
          fonts_[font_entry_].charset_code_page = CodePageOfFontCharset(parameter);
        break;
      case RtfKeywordKind::kFontCodePage:
        if (state_.destination == Destination::kFontTable && font_entry_ >= 0 && parameter > 0)
          fonts_[font_entry_].code_page = parameter;
        break;
      case RtfKeywordKind::kDocumentCodePage:
        if (parameter > 0) {
          document_code_page_ = parameter;
          code_page_named_ = true;
        }
        break;
      case RtfKeywordKind::kCharacterSet:
        if (!code_page_named_) document_code_page_ = row->value;
        break;
      case RtfKeywordKind::kFromHtml:
        html_ = !has_parameter || parameter != 0;
        break;
      case RtfKeywordKind::kHtmlRtf:
        state_.html_rtf = !has_parameter || parameter != 0;
        break;
      case RtfKeywordKind::kHtmlTag:
        if (html_ && (state_.destination == Destination::kText || state_.destination == Destination::kHtmlTag)) {
          state_.destination = Destination::kHtmlTag;
          state_.html_rtf = false;
        } else {
          state_.destination = Destination::kSkip;
        }
        break;
      case RtfKeywordKind::kProperty:
        ConsumeFallback();
        break;
    }
  }

  // Whether text read now goes to the output; kept in visible_ and renewed
  // whenever the state it depends on changes.
  bool Visible() const {
    switch (state_.destination) {
      case Destination::kText:
        return !(html_ && state_.html_rtf);
      case Destination::kHtmlTag:
        return true;
      default:
        return false;
    }
  }

  uint32_t CurrentCodePage() const {
    if (state_.destination == Destination::kHtmlTag || state_.font_code_page == 0) return document_code_page_;
    return state_.font_code_page;
  }

  uint32_t FontCodePage(int font) const {
    auto it = fonts_.find(font);
    if (it == fonts_.end()) return 0;
    return it->second.code_page > 0 ? it->second.code_page : it->second.charset_code_page;
  }

  // Skips one fallback character of the last \uN when one is due; true when
  // it did.
  bool ConsumeFallback() {
    if (fallback_left_ == 0) return false;
    --fallback_left_;
    return true;
  }

  // True for bytes that are text as they stand in every code page the
  // reader meets: ASCII other than the RTF specials and what is skipped.
  static bool IsPlainAscii(char c) {
    return static_cast<uint8_t>(c) < 0x80 && c != '\\' && c != '{' && c != '}' && c != '\r' && c != '\n' &&
           c != '\0';
  }

  // The run of plain ASCII text that starts at the byte just read, in one
  // step: most of a document's text is such runs.
  void AddAsciiRun() {
    size_t start = pos_ - 1;
    size_t end = pos_;
    while (end < in_.size() && IsPlainAscii(in_[end])) ++end;
    pos_ = end;
    if (!visible_) return;
    std::u16string& text = out_->text;
    size_t before = text.size();
    text.resize(before + (end - start));
    for (size_t i = start; i < end; ++i) text[before + i - start] = static_cast<uint8_t>(in_[i]);
    out_->char_count += end - start;
  }

  // A byte of text in the current code page.
  void AddByte(uint8_t byte) {
    if (ConsumeFallback() || !visible_ || byte == 0) return;
    if (byte < 0x80 && pending_.empty()) {
      AddText(byte);
      return;
    }
    uint32_t code_page = CurrentCodePage();
    if (!pending_.empty() && code_page != pending_code_page_) FlushBytes();
    pending_code_page_ = code_page;
    pending_.push_back(static_cast<char>(byte));
  }

  void FlushBytes() {
    if (pending_.empty()) return;
    size_t before = out_->text.size();
    decoder_->Append(pending_code_page_, pending_, &out_->text);
    // Only NUL characters are dropped from the text.
    out_->text.erase(std::remove(out_->text.begin() + before, out_->text.end(), u'\0'), out_->text.end());
    out_->char_count += out_->text.size() - before;
    pending_.clear();
  }

  // A character named by a control word.
  void AddCharacter(char16_t c) {
    if (ConsumeFallback() || !visible_) return;
    AddText(c);
  }

  void AddText(char16_t c) {
    FlushBytes();
    out_->text.push_back(c);
    ++out_->char_count;
  }

  // \uN: negative N counts from 65536; the two halves of a surrogate pair
  // arrive as two \uN and stand next to each other in the text.
  void AddUnicode(int n) {
    char16_t c = static_cast<char16_t>(n < 0 ? n + 65536 : n);
    fallback_left_ = 0;
    if (visible_ && c != 0) AddText(c);
    fallback_left_ = static_cast<size_t>(state_.fallback_length);
  }

  void ReadHexByte() {
    if (pos_ + 1 < in_.size()) {
      int high = HexValue(in_[pos_]);
      int low = HexValue(in_[pos_ + 1]);
      if (high >= 0 && low >= 0) {
        pos_ += 2;
        AddByte(static_cast<uint8_t>(high << 4 | low));
        return;
      }
    }
    // What follows is read as ordinary text.
    if (problem_ == RtfResult::kOk) problem_ = RtfResult::kBadHexEscape;
  }

  // \binN: N bytes of binary data (pictures, objects) that are never text.
  void SkipBinary(int count) {
    if (count <= 0) return;
    pos_ += std::min(static_cast<size_t>(count), in_.size() - pos_);
    ConsumeFallback();
  }

  std::string_view in_;
  size_t pos_ = 0;
  CodePageDecoder* decoder_;
  RtfText* out_;

  GroupState state_;
  bool visible_ = true;
  std::vector<GroupState> stack_;
  size_t depth_ = 0;
  size_t unsaved_groups_ = 0;
  bool ignorable_ = false;
  size_t fallback_left_ = 0;

  bool html_ = false;
  uint32_t document_code_page_ = kCodePageWindows1252;
  bool code_page_named_ = false;
  std::unordered_map<int, Font> fonts_;
  int font_entry_ = -1;

  std::string pending_;
  uint32_t pending_code_page_ = kCodePageWindows1252;
  RtfResult problem_ = RtfResult::kOk;
};

}  // namespace

std::string_view RtfResultText(RtfResult result) {
  switch (result) {
    case RtfResult::kOk: return "read completely";
    case RtfResult::kUnmatchedBrace: return "closing brace without an open group";
    case RtfResult::kNoMemory: return "out of memory";
    case RtfResult::kUnclosedGroup: return "document ends inside a group";
    case RtfResult::kBadHexEscape: return "malformed \\' escape";
    case RtfResult::kEndAfterBackslash: return "document ends after a backslash";
  }
  return "unknown result";
}

RtfResult RtfReader::Parse(std::string_view document, RtfText* out) {
  *out = RtfText();
  try {
    return DocumentReader(document, &decoder_, out).Read();
  } catch (const std::bad_alloc&) {
    return RtfResult::kNoMemory;
  }
}

RtfResult ParseRtf(std::string_view document, RtfText* out) {
  RtfReader reader;
  return reader.Parse(document, out);
}

RtfResult ParseRtf(std::istream& document, RtfText* out) {
  std::string bytes((std::istreambuf_iterator<char>(document)), std::istreambuf_iterator<char>());
  return ParseRtf(bytes, out);
}

}  // namespace edb
