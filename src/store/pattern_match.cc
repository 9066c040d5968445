// Compiled-once address patterns over regcomp/regexec, in UTF-8.
#include "store/pattern_match.h"

#include <locale.h>
#include <regex.h>

#include <algorithm>
#include <array>
#include <utility>

namespace edb {
namespace {

// Character types of the C library's "C" and "C.UTF-8" locales, created
// once and never freed; null when the system lacks one.
locale_t AsciiCharacterTypes() {
  static const locale_t ascii = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
  return ascii;
}

locale_t Utf8CharacterTypes() {
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return utf8;
}

// Makes the calling thread use `character_types` while it lives, so that
// regcomp and regexec read text by them; the thread's own locale is
// restored afterwards, and other threads and the rest of the program never
// see the change. A null `character_types` changes nothing.
class ScopedCharacterTypes {
 public:
  explicit ScopedCharacterTypes(locale_t character_types) {
    if (character_types != static_cast<locale_t>(0)) previous_ = uselocale(character_types);
  }
  ~ScopedCharacterTypes() {
    if (previous_ != static_cast<locale_t>(0)) uselocale(previous_);
  }
  ScopedCharacterTypes(const ScopedCharacterTypes&) = delete;
  ScopedCharacterTypes& operator=(const ScopedCharacterTypes&) = delete;

 private:
  locale_t previous_ = static_cast<locale_t>(0);
};

constexpr std::array<const char*, 6> kPatternSources = {
    R"re((\w+)(\.|_)?(\w*) (\w+)(\.|_)?(\w*) (\w+)(\.|_)?(\w*)@(\w+)(\.(\w+))+)re",
    R"re((\w+)(\.|_)?(\w*) (\w+)(\.|_)?(\w*)< (\w+)(\.|_)?(\w*)@(\w+)(\.(\w+))+)re",
    R"re((\w+)(\.|_)?(\w*)< (\w+)(\.|_)?(\w*)@(\w+)(\.(\w+))+)re",
    R"re((\w+)(\.|_)?(\w*)@(\w+)(\.(\w+))+)re",
    R"re((\w+)(\.|_)?(\w*) (\w+)(\.|_)?(\w*))re",
    R"re((\w+)(\.|_)?(\w*) )re",
};

// One compiled pattern for one locale's character types, freed at exit.
// glibc's regexec serialises concurrent searches on one pattern internally,
// so sharing it between threads is safe.
class CompiledPattern {
 public:
  CompiledPattern(const char* source, locale_t character_types) : character_types_(character_types) {
    ScopedCharacterTypes scoped(character_types_);
    compiled_ = regcomp(&regex_, source, REG_EXTENDED) == 0;
  }
  ~CompiledPattern() {
    if (compiled_) regfree(&regex_);
  }
  CompiledPattern(const CompiledPattern&) = delete;
  CompiledPattern& operator=(const CompiledPattern&) = delete;

  std::optional<PatternSpan> Find(std::string_view text, size_t from) const {
    if (!compiled_ || from > text.size()) return std::nullopt;
    // A terminated copy keeps regexec inside our buffer; REG_STARTEND bounds
    // the search by length so zero bytes in the text are searched too.
    const std::string terminated(text);
    regmatch_t match[1];
    match[0].rm_so = static_cast<regoff_t>(from);
    match[0].rm_eo = static_cast<regoff_t>(terminated.size());
    ScopedCharacterTypes scoped(character_types_);
    if (regexec(&regex_, terminated.c_str(), 1, match, REG_STARTEND) != 0) return std::nullopt;
    if (match[0].rm_so < 0 || match[0].rm_eo < match[0].rm_so) return std::nullopt;
    return PatternSpan{static_cast<size_t>(match[0].rm_so), static_cast<size_t>(match[0].rm_eo - match[0].rm_so)};
  }

 private:
  locale_t character_types_;
  regex_t regex_{};
  bool compiled_ = false;
};

template <size_t... I>
std::array<CompiledPattern, sizeof...(I)> CompileAll(locale_t character_types, std::index_sequence<I...>) {
  return {CompiledPattern(kPatternSources[I], character_types)...};
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The pattern compiled for the text at hand: ASCII text is matched with the
// "C" locale's character types, where it matches exactly as in UTF-8 but
// several times faster; any other text in UTF-8.
const CompiledPattern& Compiled(AddressPattern pattern, std::string_view text) {
  constexpr auto kAll = std::make_index_sequence<kPatternSources.size()>();
  static const std::array<CompiledPattern, kPatternSources.size()> ascii = CompileAll(AsciiCharacterTypes(), kAll);
  static const std::array<CompiledPattern, kPatternSources.size()> utf8 = CompileAll(Utf8CharacterTypes(), kAll);
  return (IsAscii(text) ? ascii : utf8)[static_cast<size_t>(pattern)];
}

}  // namespace

std::optional<PatternSpan> FindPattern(std::string_view text, AddressPattern pattern, size_t from) {
  return Compiled(pattern, text).Find(text, from);
}

std::optional<std::string> PatternMatch(std::string_view text, AddressPattern pattern) {
  std::optional<PatternSpan> span = FindPattern(text, pattern);
  if (!span) return std::nullopt;
  return std::string(text.substr(span->offset, span->length));
}

}  // namespace edb
