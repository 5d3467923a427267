#pragma once
// The popup blocker library beside the program (snuffet.dll), switched on
// and off through its registration entry points. It is loaded for each
// call and freed at once, never kept: a missing library, entry point or a
// failing call changes nothing and says nothing.
#include <string>

namespace tarnwell {

void RegisterPopupKiller(const std::string& programDir);
void UnregisterPopupKiller(const std::string& programDir);

}  // namespace tarnwell
