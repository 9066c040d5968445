// What the iCalendar writer needs of one appointment, task or journal
// entry, in UTF-8. Times are seconds since 1970-01-01 UTC; none: not known.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace edb {

enum class CalendarKind {
  kEvent,    // an appointment or meeting: VEVENT
  kTask,     // VTODO
  kJournal,  // VJOURNAL
};

struct CalendarItem {
  std::string key;  // the item's key; names the file and derives the UID. Never empty.
  CalendarKind kind = CalendarKind::kEvent;
  std::string summary;
  std::string location;
  std::string description;
  std::optional<int64_t> start;
  std::optional<int64_t> end;  // for a task: its due time
  std::string organizer;       // a name or address; may be empty
  std::vector<std::string> attendees;
  std::string status;          // as the store shows it; may be empty
};

}  // namespace edb
