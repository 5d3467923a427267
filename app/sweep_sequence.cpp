#include "app/sweep_sequence.h"

namespace tarnwell {

int RunSweepSequence(const std::vector<std::function<void()>>& steps) {
    int completed = 0;
    try {
        for (const auto& step : steps) {
            if (step) step();
            ++completed;
        }
    } catch (...) {
        // Nothing crosses the window procedure; nothing is shown.
    }
    return completed;
}

}  // namespace tarnwell
