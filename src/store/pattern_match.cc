// Compiled-once address patterns over regcomp/regexec.
#include "store/pattern_match.h"

#include <regex.h>

#include <array>

namespace edb {
namespace {

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
  explicit CompiledPattern(const char* source) : compiled_(regcomp(&regex_, source, REG_EXTENDED) == 0) {}
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
    if (regexec(&regex_, terminated.c_str(), 1, match, REG_STARTEND) != 0) return std::nullopt;
    if (match[0].rm_so < 0 || match[0].rm_eo < match[0].rm_so) return std::nullopt;
    return PatternSpan{static_cast<size_t>(match[0].rm_so), static_cast<size_t>(match[0].rm_eo - match[0].rm_so)};
  }

 private:
  regex_t regex_{};
  bool compiled_;
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
