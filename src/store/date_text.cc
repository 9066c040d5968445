// FILETIME to date text by civil-calendar arithmetic, so every 64-bit value
// converts (no platform date functions, no time zones).
#include "store/date_text.h"

#include <cstdio>

namespace edb {
namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;
constexpr uint64_t kSecondsPerDay = 86'400;
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

struct CivilDate {
  int64_t year;
  unsigned month;  // 1..12
  unsigned day;    // 1..31
};

// Days since 1970-01-01 to a proleptic Gregorian date (H. Hinnant's
// civil_from_days).
CivilDate CivilFromDays(int64_t days) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const uint64_t day_of_era = static_cast<uint64_t>(days - era * 146097);
  const uint64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const uint64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const uint64_t shifted_month = (5 * day_of_year + 2) / 153;
  const unsigned day = static_cast<unsigned>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  const unsigned month = static_cast<unsigned>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  const int64_t year = static_cast<int64_t>(year_of_era) + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

std::u16string Widen(const char* text) {
  std::u16string wide;
  for (; *text != '\0'; ++text) wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
  return wide;
}

}  // namespace

std::u16string DateText(uint64_t filetime) {
  // 1601-01-01 is 134774 days before 1970-01-01.
  constexpr int64_t kDaysFrom1601To1970 = 134774;
  const uint64_t seconds = filetime / kTicksPerSecond;
  const int64_t days = static_cast<int64_t>(seconds / kSecondsPerDay) - kDaysFrom1601To1970;
  const uint64_t second_of_day = seconds % kSecondsPerDay;
  const CivilDate date = CivilFromDays(days);

  char buffer[32];
  if (date.year >= 10000) {
    std::snprintf(buffer, sizeof buffer, "(0x%08x 0x%08x)", static_cast<unsigned>(filetime >> 32),
                  static_cast<unsigned>(filetime & 0xffffffffu));
  } else {
    std::snprintf(buffer, sizeof buffer, "%s %02u, %04u %02u:%02u:%02u", kMonthNames[date.month - 1], date.day,
                  static_cast<unsigned>(date.year), static_cast<unsigned>(second_of_day / 3600),
                  static_cast<unsigned>(second_of_day / 60 % 60), static_cast<unsigned>(second_of_day % 60));
  }
  return Widen(buffer);
}

}  // namespace edb
