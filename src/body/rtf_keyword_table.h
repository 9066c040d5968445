// The RTF control words and symbols the reader acts on. Every other control
// word is unknown: it changes nothing, except that after \* it starts a
// group the reader skips.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace edb {

enum class RtfKeywordKind : uint8_t {
  kDestination,       // text of the group is skipped (\fonttbl is kFontTable)
  kAlternate,         // skipped, except for an inner kAlternateText group (\upr, \object)
  kAlternateText,     // the readable part of a kAlternate group (\ud, \result)
  kCharacter,         // stands for a character (value; html_value in encapsulated HTML)
  kParagraph,         // ends a line: line feed in text, CR LF in encapsulated HTML
  kBinary,            // \binN: N bytes of binary data follow
  kIgnorable,         // \*: the next control word, if unknown, starts a skipped group
  kHexByte,           // \'hh: one byte in the current code page
  kUnicode,           // \uN: the character N, then \ucN fallback characters to skip
  kUnicodeSkip,       // \ucN: fallback characters after each \uN
  kFontTable,         // \fonttbl: font numbers and their charsets
  kFont,              // \fN: selects font N (and its code page)
  kFontCharset,       // \fcharsetN inside a font table entry
  kFontCodePage,      // \cpgN inside a font table entry
  kDocumentCodePage,  // \ansicpgN
  kCharacterSet,      // \ansi, \mac, \pc, \pca: the document's code page (value)
  kFromHtml,          // \fromhtml1: the document encapsulates HTML
  kHtmlRtf,           // \htmlrtf / \htmlrtf0: RTF-only text in encapsulated HTML
  kHtmlTag,           // \*\htmltagN: a fragment of the original HTML
  kProperty,          // formatting; no effect on the text
};

struct RtfKeyword {
  std::string_view name;  // compared exactly and case-sensitively
  RtfKeywordKind kind;
  uint16_t value = 0;       // kCharacter: the character (0: none); kCharacterSet: the code page
  char16_t html_value = 0;  // kCharacter: the character in encapsulated HTML
};

// All rows, sorted by name.
std::span<const RtfKeyword> RtfKeywordTable();

// The row of `name`, or null when the control word is unknown.
const RtfKeyword* FindRtfKeyword(std::string_view name);

}  // namespace edb
