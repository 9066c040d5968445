// RTF documents for the "N1009" body column: plain text wrapped the way
// Outlook writes a plain RTF body, and HTML encapsulated in RTF with
// \fromhtml1 (tags kept in \*\htmltag groups, text also readable as RTF).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storegen/store_description.h"

namespace storegen {

// Escapes UTF-8 text for an RTF body: "\", "{", "}" escaped, line feeds as
// \par, Windows-1252 characters above 0x7F as \'hh, other characters as
// \uN? (UTF-16 units, signed; a non-BMP character gives a surrogate pair).
std::string RtfEscape(std::string_view utf8);

// A complete RTF document whose text is `utf8`.
std::string PlainTextToRtf(std::string_view utf8);

// A complete RTF document encapsulating `html` (UTF-8): every tag in a
// \*\htmltag group, text between tags escaped as in RtfEscape, and the
// paragraph breaks that only RTF readers need inside \htmlrtf groups.
std::string HtmlToEncapsulatedRtf(std::string_view html);

// The RTF document of a body (empty when the body has none).
std::string RtfOf(const Body& body);

// The bytes of the "N1009" column of a body: the compressed (or
// uncompressed) RTF stream; empty when the body has no RTF.
std::vector<uint8_t> RtfColumnBytes(const Body& body);

}  // namespace storegen
