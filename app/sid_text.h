#pragma once
// The standard text form of a security identifier ("S-1-5-21-..."), built
// from its parts so that the formatting can be tested without Windows.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnwell {

struct SidParts {
    std::uint8_t revision = 1;
    std::array<std::uint8_t, 6> authority{};  // big-endian, as in SID_IDENTIFIER_AUTHORITY
    std::vector<std::uint32_t> subAuthorities;

    bool operator==(const SidParts&) const = default;
};

std::string SidText(const SidParts& sid);

// The parts of a SID in its binary form (revision, count, six authority
// bytes, then the sub-authorities as little-endian 32-bit words), read
// from at most `size` bytes; nothing when the bytes are not a valid SID.
std::optional<SidParts> ReadSid(const unsigned char* bytes, std::size_t size);

// The built-in Administrators group, S-1-5-32-544.
SidParts AdministratorsSid();

}  // namespace tarnwell
