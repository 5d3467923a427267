#include "engine/file_time_win.h"

namespace tarnwell {

// The year is checked explicitly: Wine converts years past 2107 by
// wrapping where Windows fails.
std::optional<DosDateTime> LocalDosTime(const FILETIME& lastWrite) {
    FILETIME local;
    SYSTEMTIME time;
    if (!::FileTimeToLocalFileTime(&lastWrite, &local) || !::FileTimeToSystemTime(&local, &time)) return std::nullopt;
    return ToDosDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

}  // namespace tarnwell
