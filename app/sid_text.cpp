#include "app/sid_text.h"

#include <cstdio>

namespace tarnwell {

std::string SidText(const SidParts& sid) {
    std::string text = "S-" + std::to_string(sid.revision) + "-";
    const auto& a = sid.authority;
    if (a[0] != 0 || a[1] != 0) {
        // Authorities that do not fit 32 bits are written as six hex bytes.
        char hex[2 + 12 + 1];
        std::snprintf(hex, sizeof hex, "0x%02x%02x%02x%02x%02x%02x", a[0], a[1], a[2], a[3], a[4], a[5]);
        text += hex;
    } else {
        const std::uint32_t value = (std::uint32_t{a[2]} << 24) | (std::uint32_t{a[3]} << 16) |
                                    (std::uint32_t{a[4]} << 8) | std::uint32_t{a[5]};
        text += std::to_string(value);
    }
    for (std::uint32_t sub : sid.subAuthorities) text += "-" + std::to_string(sub);
    return text;
}

}  // namespace tarnwell
