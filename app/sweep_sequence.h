#pragma once
// Runs the steps of Sweep All in order. A step that fails ends the
// sequence without a message: the later categories are simply not swept
// this time. Portable.
#include <functional>
#include <vector>

namespace tarnwell {

// Returns how many steps ran to their end.
int RunSweepSequence(const std::vector<std::function<void()>>& steps);

}  // namespace tarnwell
