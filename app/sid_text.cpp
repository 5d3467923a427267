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

std::optional<SidParts> ReadSid(const unsigned char* bytes, std::size_t size) {
    constexpr std::size_t kHeader = 8;
    constexpr std::uint8_t kRevision = 1, kMaxSubAuthorities = 15;
    if (!bytes || size < kHeader || bytes[0] != kRevision || bytes[1] > kMaxSubAuthorities) return std::nullopt;
    const std::size_t count = bytes[1];
    if (size < kHeader + 4 * count) return std::nullopt;
    SidParts sid;
    sid.revision = bytes[0];
    for (int i = 0; i < 6; ++i) sid.authority[i] = bytes[2 + i];
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* word = bytes + kHeader + 4 * i;
        sid.subAuthorities.push_back(std::uint32_t{word[0]} | (std::uint32_t{word[1]} << 8) |
                                     (std::uint32_t{word[2]} << 16) | (std::uint32_t{word[3]} << 24));
    }
    return sid;
}

SidParts AdministratorsSid() {
    SidParts sid;
    sid.authority = {0, 0, 0, 0, 0, 5};  // SECURITY_NT_AUTHORITY
    sid.subAuthorities = {32, 544};      // built-in domain, Administrators alias
    return sid;
}

}  // namespace tarnwell
