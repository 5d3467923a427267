#pragma once
// The popup killer library's report of a blocked popup, sent to the main
// window as WM_COPYDATA, and the rule that counts bursts of them once.
// Portable: no Windows headers.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tarnwell {

// The WM_COPYDATA tag of the library's messages.
inline constexpr std::uint32_t kKillReportTag = 0xBFDC1;

enum class CopyData {
    NotOurs,     // another tag: left unanswered
    Other,       // our tag, but no kill report: answered, not counted
    KillReport,  // the byte 2 followed by "SN"
};

CopyData ClassifyCopyData(std::uint32_t tag, const void* data, std::size_t size);

// Reports closer together than this count once.
inline constexpr std::int32_t kKillReportSpacing = 250;

// Whether a report at tick `now` counts after the last counted one at
// `lastCounted`: the millisecond tick wraps around after 49.7 days, so
// the difference is taken in 32 bits and read as signed. The first report
// always counts, whatever the tick reads then (past 2^31 a difference
// from 0 would read as negative).
bool CountsAsNewKill(std::uint32_t now, std::optional<std::uint32_t> lastCounted);

}  // namespace tarnwell
