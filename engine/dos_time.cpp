#include "engine/dos_time.h"

namespace tarnwell {

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long long DaysFromCivil(int year, unsigned month, unsigned day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

}  // namespace

std::optional<DosDateTime> ToDosDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1980 || year > 2107) return std::nullopt;
    DosDateTime dos;
    dos.date = static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
    dos.time = static_cast<std::uint16_t>((hour << 11) | (minute << 5) | (second / 2));
    return dos;
}

double DosToDateTime(DosDateTime dos) {
    const int year = 1980 + (dos.date >> 9);
    const int month = (dos.date >> 5) & 15, day = dos.date & 31;
    const int hour = dos.time >> 11, minute = (dos.time >> 5) & 63, second = (dos.time & 31) * 2;
    return CalendarToDateTime(year, month, day, hour, minute, second, 0);
}

double CalendarToDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    const long long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                           DaysFromCivil(1899, 12, 30);
    const double seconds = hour * 3600 + minute * 60 + second + millisecond / 1000.0;
    return static_cast<double>(days) + seconds / 86400.0;
}

}  // namespace tarnwell
