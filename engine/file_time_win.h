#pragma once
// A file's last-write time as the engine judges it: converted to local
// time and to DOS resolution, which fails outside the years 1980 to 2107.
#include <optional>

#include "engine/dos_time.h"
#include "base/win.h"

namespace tarnwell {

std::optional<DosDateTime> LocalDosTime(const FILETIME& lastWrite);

}  // namespace tarnwell
