#pragma once
// Lets the thread's message queue run once: paints, input and the reports
// of running scanners are handled before long work goes on.
#include <functional>

namespace tarnwell {

void ProcessMessages();

// Long work on the GUI thread waits in slices that let messages run.
void WaitWhile(const std::function<bool()>& condition);

}  // namespace tarnwell
