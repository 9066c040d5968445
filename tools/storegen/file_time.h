// FILETIME values for test stores: 100-nanosecond intervals since
// 1601-01-01 00:00:00 UTC, made from calendar dates and ISO-8601 texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace storegen {

struct FileTime {
  uint64_t ticks = 0;
  friend bool operator==(FileTime, FileTime) = default;
};

// The FILETIME of a UTC calendar date and time (proleptic Gregorian, year
// 1601 or later). Throws std::invalid_argument for fields out of range.
FileTime MakeFileTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Parses "YYYY-MM-DDThh:mm:ssZ" (the "Z" may be left out). Throws
// std::invalid_argument naming the text when it is not of that form.
FileTime ParseIsoTime(std::string_view text);

// The text ParseIsoTime reads, "YYYY-MM-DDThh:mm:ssZ"; fractions of a second
// are dropped.
std::string IsoTimeText(FileTime time);

}  // namespace storegen
