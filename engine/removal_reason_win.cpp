#include "engine/removal_reason_win.h"

#include "base/handles.h"
#include "engine/removal_root_win.h"

namespace tarnwell {

std::string SurvivalReason(const std::string& file, const TRemovalRoot* root) {
    const DWORD attributes = ::GetFileAttributesA(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return "could not be removed";
    if (attributes & FILE_ATTRIBUTE_READONLY) return "read-only";
    if (IsLinkItself(file)) return "a link, left as it is";
    // Opening it alone fails while another program holds it open.
    KernelHandle alone(::CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!alone) return ::GetLastError() == ERROR_SHARING_VIOLATION ? "in use by another program" : "could not be removed";
    if (root && !root->Holds(alone.get(), file)) return "outside the swept folder";
    return "could not be removed";
}

}  // namespace tarnwell
