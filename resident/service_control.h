#pragma once
// Removal of the background service for "/uninstall".

namespace tarnwell {

// Unregisters "TarnwellService"; every failure is swallowed. Does nothing
// until the service wrapper exists.
void UnregisterServiceForUninstall();

}  // namespace tarnwell
