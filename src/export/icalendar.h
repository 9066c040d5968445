// One appointment, task or journal entry as an iCalendar object (RFC 5545)
// built with libical: a VCALENDAR holding one VEVENT, VTODO or VJOURNAL with
// UID (from the item's key), DTSTAMP, SUMMARY, LOCATION, DESCRIPTION, the
// start and end (DUE for a task), ORGANIZER and ATTENDEEs where they carry
// an address. Thread-safe.
#pragma once

#include <cstdint>
#include <string>

#include "export/calendar_item.h"

namespace edb {

// `stamp` is the DTSTAMP (seconds since 1970 UTC): the time of the export.
std::string ComposeICalendar(const CalendarItem& item, int64_t stamp);

}  // namespace edb
