// The six address patterns, POSIX extended regular expressions matched
// through the C library's regcomp/regexec (glibc, which supports \w). Texts
// are UTF-8 and the patterns are compiled and run with the character types of
// the "C.UTF-8" locale (set for the calling thread only, for the length of
// the call), so every letter, "é", "ß" and "ø" included, is a word character;
// ASCII texts, which match alike either way, use the faster "C" locale.
// Each pattern is compiled once, on first use from any thread, and reused;
// regexec on a compiled pattern gives the results of a fresh compilation.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace edb {

// A word is word characters with at most one "." or "_" joining two parts;
// an address is a word, "@", and one or more groups of "." and a word.
enum class AddressPattern {
  kTwoWordsThenAddress,  // "w w address", words and address separated by blanks
  kTwoWordsAngleAddress,  // "w w< address"
  kWordAngleAddress,      // "w< address"
  kAddress,               // "address"
  kTwoWords,              // "w w"
  kWordThenBlank,         // "w " (the blank is part of the match)
};

// Where a pattern matched: the leftmost match, longest at that position.
struct PatternSpan {
  size_t offset = 0;
  size_t length = 0;
};

// The leftmost match of `pattern` in `text` at or after `from`; nullopt when
// it does not match there (a pattern that failed to compile never matches).
// `text` is UTF-8 and may hold zero bytes. Offsets count bytes.
std::optional<PatternSpan> FindPattern(std::string_view text, AddressPattern pattern, size_t from = 0);

// A copy of the leftmost match of `pattern` (the address pattern when none is
// given) in `text`, or nullopt when it does not match.
std::optional<std::string> PatternMatch(std::string_view text, AddressPattern pattern = AddressPattern::kAddress);

}  // namespace edb
