// The date text of a FILETIME, in UTC and without time-zone conversion.
#pragma once

#include <cstdint>
#include <string>

namespace edb {

// "Mmm DD, YYYY hh:mm:ss" (for example "Jan 05, 2004 13:07:09"); fractions of
// a second are dropped. A FILETIME whose year is 10000 or later gives instead
// "(0x" upper 32 bits " 0x" lower 32 bits ")", each as eight lower-case
// hexadecimal digits.
std::u16string DateText(uint64_t filetime);

}  // namespace edb
