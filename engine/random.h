#pragma once
// The program's one pseudo-random generator: a linear congruential
// generator (seed * 134775813 + 1 modulo 2^32), drawn from with
// (seed * N) div 2^32. Portable.
#include <cstdint>

namespace tarnwell {

class TRandom {
public:
    explicit TRandom(std::uint32_t seed = 0) : seed_(seed) {}
    void Seed(std::uint32_t seed) { seed_ = seed; }
    std::uint32_t SeedValue() const { return seed_; }
    // A value below `range` (0 when range is 0).
    std::uint32_t Below(std::uint32_t range) {
        seed_ = seed_ * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * range) >> 32);
    }

private:
    std::uint32_t seed_;
};

// The generator every part of the program draws from; seeded once at start-up.
TRandom& ProgramRandom();

}  // namespace tarnwell
