// Compiled-once address patterns over regcomp/regexec, in UTF-8.
#include "store/pattern_match.h"

#include <locale.h>
#include <regex.h>

#include <array>

namespace edb {
namespace {

// The C library's "C.UTF-8" character types, created once and never freed;
// null when the system has no such locale.
locale_t Utf8CharacterTypes() {
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return utf8;
}

// Makes the calling thread use UTF-8 character types while it lives, so that
// regcomp and regexec read the text as UTF-8 and count every letter as a
// word character; the thread's own locale is restored afterwards, and other
// threads and the rest of the program never see the change.
class ScopedUtf8CharacterTypes {
 public:
  ScopedUtf8CharacterTypes() {
    if (Utf8CharacterTypes() != static_cast<locale_t>(0)) previous_ = uselocale(Utf8CharacterTypes());
  }
  ~ScopedUtf8CharacterTypes() {
    if (previous_ != static_cast<locale_t>(0)) uselocale(previous_);
  }
  ScopedUtf8CharacterTypes(const ScopedUtf8CharacterTypes&) = delete;
  ScopedUtf8CharacterTypes& operator=(const ScopedUtf8CharacterTypes&) = delete;

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

// One compiled pattern, freed at exit. glibc's regexec serialises concurrent
// searches on one pattern internally, so sharing it between threads is safe.
class CompiledPattern {
 public:
  explicit CompiledPattern(const char* source) {
    ScopedUtf8CharacterTypes utf8;
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
    ScopedUtf8CharacterTypes utf8;
    if (regexec(&regex_, terminated.c_str(), 1, match, REG_STARTEND) != 0) return std::nullopt;
    if (match[0].rm_so < 0 || match[0].rm_eo < match[0].rm_so) return std::nullopt;
    return PatternSpan{static_cast<size_t>(match[0].rm_so), static_cast<size_t>(match[0].rm_eo - match[0].rm_so)};
  }

 private:
  regex_t regex_{};
  bool compiled_ = false;
};

const CompiledPattern& Compiled(AddressPattern pattern) {
  static const std::array<CompiledPattern, kPatternSources.size()> compiled = {
      CompiledPattern(kPatternSources[0]), CompiledPattern(kPatternSources[1]), CompiledPattern(kPatternSources[2]),
      CompiledPattern(kPatternSources[3]), CompiledPattern(kPatternSources[4]), CompiledPattern(kPatternSources[5]),
  };
  return compiled[static_cast<size_t>(pattern)];
}

}  // namespace

std::optional<PatternSpan> FindPattern(std::string_view text, AddressPattern pattern, size_t from) {
  return Compiled(pattern).Find(text, from);
}

std::optional<std::string> PatternMatch(std::string_view text, AddressPattern pattern) {
  std::optional<PatternSpan> span = FindPattern(text, pattern);
  if (!span) return std::nullopt;
  return std::string(text.substr(span->offset, span->length));
}

}  // namespace edb
