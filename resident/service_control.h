#pragma once
// The program's uses of the background service.
#include <memory>
#include <string>

namespace tarnwell {

class TbtSvcMan;

// "/uninstall": removes "TarnwellService"; every failure is swallowed.
void UnregisterServiceForUninstall();

// Start-up on the NT family for administrators: a manager with the
// service registered under the quoted program path (an existing
// registration is kept, its path quoted if it was not); none when the
// manager cannot be reached.
std::unique_ptr<TbtSvcMan> RegisterBackgroundService(const std::string& programDir);

// The AutoComplete sweep on the NT family: records the user's SID text for
// the service and restarts it (it does its work when it starts).
void HandProtectedStorageToService(TbtSvcMan* manager, bool administrator);

}  // namespace tarnwell
