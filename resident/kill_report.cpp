#include "resident/kill_report.h"

#include <cstring>

namespace tarnwell {

CopyData ClassifyCopyData(std::uint32_t tag, const void* data, std::size_t size) {
    if (tag != kKillReportTag) return CopyData::NotOurs;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (!bytes || size < 3 || bytes[0] != 2 || std::memcmp(bytes + 1, "SN", 2) != 0) return CopyData::Other;
    return CopyData::KillReport;
}

bool CountsAsNewKill(std::uint32_t now, std::optional<std::uint32_t> lastCounted) {
    return !lastCounted || static_cast<std::int32_t>(now - *lastCounted) > kKillReportSpacing;
}

}  // namespace tarnwell
