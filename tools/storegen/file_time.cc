// Calendar dates to FILETIME and back, without the C library's time zone.
#include "storegen/file_time.h"

#include <cstdio>
#include <stdexcept>

namespace storegen {
namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;
// Days from 1601-01-01 to 1970-01-01.
constexpr int64_t kDaysFrom1601To1970 = 134774;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's
// days_from_civil).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t* year, unsigned* month, unsigned* day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *day = doy - (153 * mp + 2) / 5 + 1;
  *month = mp < 10 ? mp + 3 : mp - 9;
  *year = static_cast<int64_t>(yoe) + era * 400 + (*month <= 2);
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

FileTime MakeFileTime(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1601 || year > 30000 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    throw std::invalid_argument("date or time out of range");
  }
  const int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                       kDaysFrom1601To1970;
  const uint64_t seconds = static_cast<uint64_t>(days) * 86400 + static_cast<uint64_t>(hour) * 3600 +
                           static_cast<uint64_t>(minute) * 60 + static_cast<uint64_t>(second);
  return FileTime{seconds * kTicksPerSecond};
}

FileTime ParseIsoTime(std::string_view text) {
  int year, month, day, hour, minute, second;
  char tail[2] = {0, 0};
  const std::string copy(text);
  const int fields =
      std::sscanf(copy.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%1c", &year, &month, &day, &hour, &minute, &second, tail);
  const bool length_ok = copy.size() == 19 || (copy.size() == 20 && tail[0] == 'Z');
  if (fields < 6 || !length_ok) {
    throw std::invalid_argument("not a time of the form YYYY-MM-DDThh:mm:ssZ: \"" + copy + "\"");
  }
  try {
    return MakeFileTime(year, month, day, hour, minute, second);
  } catch (const std::invalid_argument&) {
    throw std::invalid_argument("time out of range: \"" + copy + "\"");
  }
}

std::string IsoTimeText(FileTime time) {
  const uint64_t seconds = time.ticks / kTicksPerSecond;
  const int64_t days = static_cast<int64_t>(seconds / 86400) - kDaysFrom1601To1970;
  const uint64_t in_day = seconds % 86400;
  int64_t year;
  unsigned month, day;
  CivilFromDays(days, &year, &month, &day);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02u:%02u:%02uZ", static_cast<long long>(year), month, day,
                static_cast<unsigned>(in_day / 3600), static_cast<unsigned>(in_day / 60 % 60),
                static_cast<unsigned>(in_day % 60));
  return buffer;
}

}  // namespace storegen
