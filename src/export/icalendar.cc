// iCalendar text of an appointment, task or journal entry, through libical.
#include "export/icalendar.h"

#include <libical/ical.h>

#include <cstdlib>
#include <memory>
#include <string_view>

namespace edb {
namespace {

struct ComponentFree {
  void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

icaltimetype UtcTime(int64_t seconds) {
  return icaltime_from_timet_with_zone(static_cast<time_t>(seconds), 0, icaltimezone_get_utc_timezone());
}

icalcomponent_kind KindOf(CalendarKind kind) {
  switch (kind) {
    case CalendarKind::kTask:
      return ICAL_VTODO_COMPONENT;
    case CalendarKind::kJournal:
      return ICAL_VJOURNAL_COMPONENT;
    case CalendarKind::kEvent:
      break;
  }
  return ICAL_VEVENT_COMPONENT;
}

// A calendar user address for `person` ("Name <a@b>", "a@b" or a name):
// the address as mailto URI with the name as CN; null without an address.
icalproperty* PersonProperty(std::string_view person, bool organizer) {
  const size_t at = person.find('@');
  if (at == std::string_view::npos) return nullptr;
  std::string address(person);
  std::string name;
  const size_t open = person.find('<');
  const size_t close = person.find('>', open == std::string_view::npos ? 0 : open);
  if (open != std::string_view::npos && close != std::string_view::npos && open < at && at < close) {
    address = std::string(person.substr(open + 1, close - open - 1));
    name = std::string(person.substr(0, open));
    while (!name.empty() && (name.back() == ' ' || name.back() == '"')) name.pop_back();
    while (!name.empty() && (name.front() == ' ' || name.front() == '"')) name.erase(name.begin());
  }
  const std::string uri = "mailto:" + address;
  icalproperty* property =
      organizer ? icalproperty_new_organizer(uri.c_str()) : icalproperty_new_attendee(uri.c_str());
  if (!name.empty()) icalproperty_add_parameter(property, icalparameter_new_cn(name.c_str()));
  return property;
}

}  // namespace

std::string ComposeICalendar(const CalendarItem& item, int64_t stamp) {
  ComponentPtr calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
  icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
  icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//edbrecover//export//EN"));
  icalcomponent* entry = icalcomponent_new(KindOf(item.kind));
  icalcomponent_add_component(calendar.get(), entry);  // owned by the calendar from here on

  const std::string uid = "edb-" + item.key + "@edbrecover.invalid";
  icalcomponent_add_property(entry, icalproperty_new_uid(uid.c_str()));
  icalcomponent_add_property(entry, icalproperty_new_dtstamp(UtcTime(stamp)));
  if (!item.summary.empty()) icalcomponent_add_property(entry, icalproperty_new_summary(item.summary.c_str()));
  if (!item.location.empty() && item.kind == CalendarKind::kEvent) {
    icalcomponent_add_property(entry, icalproperty_new_location(item.location.c_str()));
  }
  if (!item.description.empty()) {
    icalcomponent_add_property(entry, icalproperty_new_description(item.description.c_str()));
  }
  if (item.start) icalcomponent_add_property(entry, icalproperty_new_dtstart(UtcTime(*item.start)));
  if (item.end && (!item.start || *item.end >= *item.start)) {
    if (item.kind == CalendarKind::kTask) {
      icalcomponent_add_property(entry, icalproperty_new_due(UtcTime(*item.end)));
    } else if (item.kind == CalendarKind::kEvent) {
      icalcomponent_add_property(entry, icalproperty_new_dtend(UtcTime(*item.end)));
    }
  }
  if (icalproperty* organizer = PersonProperty(item.organizer, true)) icalcomponent_add_property(entry, organizer);
  for (const std::string& attendee : item.attendees) {
    if (icalproperty* property = PersonProperty(attendee, false)) icalcomponent_add_property(entry, property);
  }
  char* text = icalcomponent_as_ical_string_r(calendar.get());
  std::string result = text != nullptr ? text : "";
  std::free(text);
  return result;
}

}  // namespace edb
