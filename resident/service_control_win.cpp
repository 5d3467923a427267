#include "resident/service_control.h"

namespace tarnwell {

void UnregisterServiceForUninstall() {}

}  // namespace tarnwell
