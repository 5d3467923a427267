#pragma once
// Lets the thread's message queue run once: paints, input and the reports
// of running scanners are handled before long work goes on.
namespace tarnwell {

void ProcessMessages();

}  // namespace tarnwell
