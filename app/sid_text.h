#pragma once
// The standard text form of a security identifier ("S-1-5-21-..."), built
// from its parts so that the formatting can be tested without Windows.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarnwell {

struct SidParts {
    std::uint8_t revision = 1;
    std::array<std::uint8_t, 6> authority{};  // big-endian, as in SID_IDENTIFIER_AUTHORITY
    std::vector<std::uint32_t> subAuthorities;
};

std::string SidText(const SidParts& sid);

}  // namespace tarnwell
