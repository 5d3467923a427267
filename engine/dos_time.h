#pragma once
// DOS date/time (two-second resolution, years 1980 to 2107) and the
// date-time value handed to scanner events: days since 1899-12-30 with
// the time of day as the fraction. Portable.
#include <cstdint>
#include <optional>

namespace tarnwell {

struct DosDateTime {
    std::uint16_t date;
    std::uint16_t time;
};

// None when the calendar time has no DOS form (outside 1980..2107).
std::optional<DosDateTime> ToDosDateTime(int year, int month, int day, int hour, int minute, int second);
double DosToDateTime(DosDateTime dos);
// A calendar time at full (millisecond) resolution as a date-time.
double CalendarToDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);

}  // namespace tarnwell
