// The rows of the RTF keyword table.
#include "body/rtf_keyword_table.h"

#include <algorithm>
#include <array>

namespace edb {
namespace {

using K = RtfKeywordKind;

constexpr RtfKeyword Destination(std::string_view name) { return {name, K::kDestination}; }
constexpr RtfKeyword Property(std::string_view name) { return {name, K::kProperty}; }
constexpr RtfKeyword Character(std::string_view name, char16_t c) { return {name, K::kCharacter, c, c}; }

constexpr auto kRows = std::to_array<RtfKeyword>({
    // Destinations whose text is not part of the body.
    Destination("annotation"), Destination("atnauthor"), Destination("atnid"), Destination("author"),
    Destination("bkmkend"), Destination("bkmkstart"), Destination("buptim"), Destination("colorschememapping"),
    Destination("colortbl"), Destination("comment"), Destination("creatim"), Destination("datafield"),
    Destination("datastore"), Destination("doccomm"), Destination("docvar"), Destination("filetbl"),
    Destination("fldinst"), Destination("footer"), Destination("footerf"), Destination("footerl"),
    Destination("footerr"), Destination("footnote"), Destination("ftncn"), Destination("ftnsep"),
    Destination("ftnsepc"), Destination("generator"), Destination("header"), Destination("headerf"),
    Destination("headerl"), Destination("headerr"), Destination("info"), Destination("keywords"),
    Destination("latentstyles"), Destination("listoverridetable"), Destination("listtable"),
    Destination("mhtmltag"), Destination("nonshppict"), Destination("objclass"), Destination("objdata"),
    Destination("objname"), Destination("operator"), Destination("pgdsctbl"), Destination("pict"),
    Destination("pntxta"), Destination("pntxtb"), Destination("printim"), Destination("private1"),
    Destination("revtbl"), Destination("revtim"), Destination("rsidtbl"), Destination("rxe"),
    Destination("shpinst"), Destination("stylesheet"), Destination("subject"), Destination("tc"),
    Destination("template"), Destination("themedata"), Destination("title"), Destination("txe"),
    Destination("userprops"), Destination("xe"), Destination("xmlnstbl"),
    // Groups holding an alternative rendering and, inside, the readable one.
    {"object", K::kAlternate}, {"upr", K::kAlternate}, {"result", K::kAlternateText}, {"ud", K::kAlternateText},
    // Characters.
    Character("tab", u'\t'), Character("cell", u'\t'), Character("nestcell", u'\t'), Character("{", u'{'),
    Character("}", u'}'), Character("\\", u'\\'), Character("ldblquote", 0x201C), Character("rdblquote", 0x201D),
    Character("lquote", 0x2018), Character("rquote", 0x2019), Character("bullet", 0x2022),
    Character("endash", 0x2013), Character("emdash", 0x2014), Character("enspace", 0x2002),
    Character("emspace", 0x2003), Character("qmspace", 0x2005), Character("zwbo", 0x200B),
    Character("zwnj", 0x200C), Character("zwj", 0x200D), Character("ltrmark", 0x200E),
    Character("rtlmark", 0x200F), Character("~", 0x00A0), Character("-", 0),
    // A non-breaking hyphen; encapsulated HTML writes &shy; this way.
    {"_", K::kCharacter, 0x2011, 0x00AD},
    // Line ends. A backslash before a line feed or carriage return is \par.
    {"par", K::kParagraph}, {"line", K::kParagraph}, {"sect", K::kParagraph}, {"page", K::kParagraph},
    {"row", K::kParagraph}, {"\n", K::kParagraph}, {"\r", K::kParagraph},
    // Reader controls.
    {"bin", K::kBinary}, {"*", K::kIgnorable}, {"'", K::kHexByte}, {"u", K::kUnicode}, {"uc", K::kUnicodeSkip},
    {"fonttbl", K::kFontTable}, {"f", K::kFont}, {"fcharset", K::kFontCharset}, {"cpg", K::kFontCodePage},
    {"ansicpg", K::kDocumentCodePage}, {"ansi", K::kCharacterSet, 1252}, {"mac", K::kCharacterSet, 10000},
    {"pc", K::kCharacterSet, 437}, {"pca", K::kCharacterSet, 850}, {"fromhtml", K::kFromHtml},
    {"htmlrtf", K::kHtmlRtf}, {"htmltag", K::kHtmlTag},
    // Formatting, recognised so that \* before them does not skip a group.
    Property("b"), Property("i"), Property("li"), Property("ri"), Property("fi"), Property("cols"),
    Property("sbknone"), Property("sbkcol"), Property("sbkeven"), Property("sbkodd"), Property("sbkpage"),
    Property("pgnx"), Property("pgny"), Property("pgndec"), Property("pgnucrm"), Property("pgnlcrm"),
    Property("pgnucltr"), Property("pgnlcltr"), Property("qc"), Property("ql"), Property("qr"), Property("qj"),
    Property("paperw"), Property("paperh"), Property("margl"), Property("margr"), Property("margt"),
    Property("margb"), Property("pgnstart"), Property("facingp"), Property("landscape"),
});

constexpr auto SortedRows() {
  auto rows = kRows;
  std::sort(rows.begin(), rows.end(), [](const RtfKeyword& a, const RtfKeyword& b) { return a.name < b.name; });
  return rows;
}

constexpr auto kSortedRows = SortedRows();

constexpr bool NamesAreUnique() {
  for (size_t i = 1; i < kSortedRows.size(); ++i) {
    if (kSortedRows[i - 1].name == kSortedRows[i].name) return false;
  }
  return true;
}
static_assert(NamesAreUnique());

// Lookup by hash with linear probing: the reader looks up every control
// word of a document, so this is on its hottest path.
constexpr size_t kSlots = 1024;

constexpr size_t HashOf(std::string_view name) {
  size_t h = name.size();
  for (char c : name) h = h * 31 + static_cast<unsigned char>(c);
  return h & (kSlots - 1);
}

constexpr auto MakeSlots() {
  std::array<int16_t, kSlots> slots{};
  for (auto& slot : slots) slot = -1;
  for (size_t row = 0; row < kSortedRows.size(); ++row) {
    size_t at = HashOf(kSortedRows[row].name);
    while (slots[at] >= 0) at = (at + 1) & (kSlots - 1);
    slots[at] = static_cast<int16_t>(row);
  }
  return slots;
}

constexpr auto kSlotsOfNames = MakeSlots();

}  // namespace

std::span<const RtfKeyword> RtfKeywordTable() { return kSortedRows; }

const RtfKeyword* FindRtfKeyword(std::string_view name) {
  for (size_t at = HashOf(name);; at = (at + 1) & (kSlots - 1)) {
    int16_t row = kSlotsOfNames[at];
    if (row < 0) return nullptr;
    const RtfKeyword& keyword = kSortedRows[static_cast<size_t>(row)];
    if (keyword.name.size() == name.size() && keyword.name == name) return &keyword;
  }
}

}  // namespace edb
