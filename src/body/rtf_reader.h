// Reduces an RTF document to its text, or, when the document encapsulates
// HTML (\fromhtml1), extracts the original HTML from it.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

#include "body/code_page.h"

namespace edb {

// How reading a document ended. The text gathered is kept in every case.
enum class RtfResult : int {
  kOk = 0,                  // read to the end of its outermost group (or of the input, balanced)
  kUnmatchedBrace = 1,      // a "}" with no open group; reading stopped there
  kNoMemory = 2,            // memory ran out; the text so far is kept
  kUnclosedGroup = 3,       // the input ended with groups still open
  kBadHexEscape = 4,        // a \' not followed by two hexadecimal digits (read on as text)
  kEndAfterBackslash = 7,   // the input ended directly after a backslash
};

// A short English description of `result`.
std::string_view RtfResultText(RtfResult result);

// Characters the reader appended to a document's text.
using RtfCharCount = size_t;

// What one document gave.
struct RtfText {
  std::u16string text;         // plain text (lines end with a line feed), or the HTML
  bool html = false;           // the document encapsulated HTML and `text` is that HTML
  RtfCharCount char_count = 0;  // characters appended to `text`
};

// Reads RTF documents one at a time. Every document starts from a clean
// state: nothing of one document (groups, destinations, code pages, fonts,
// pending \bin data) carries over to the next. Only the code-page converters
// are kept for reuse. Not for use by two threads at once.
class RtfReader {
 public:
  // Reads `document` and replaces `*out` with what it gave.
  //
  // Text: control words standing for characters give them (\par and \line a
  // line feed, \tab a tab, \emdash, \bullet, \lquote, \~ a no-break space, ...);
  // \uN gives character N and skips its \ucN fallback characters; \'hh and
  // 8-bit bytes are decoded in the code page of the current font (its
  // \fcharsetN or \cpgN), else the document's \ansicpgN, else Windows-1252.
  // Destinations (font table, style sheet, pictures, field instructions, \*
  // groups the reader does not know, ...) and \bin data give nothing.
  //
  // Encapsulated HTML: the contents of \*\htmltag groups and the text outside
  // them that \htmlrtf does not suppress, with \par as CR LF.
  RtfResult Parse(std::string_view document, RtfText* out);

 private:
  CodePageDecoder decoder_;
};

// One-off forms of RtfReader::Parse, from memory or from a whole stream.
RtfResult ParseRtf(std::string_view document, RtfText* out);
RtfResult ParseRtf(std::istream& document, RtfText* out);

}  // namespace edb
