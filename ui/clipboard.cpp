#include "ui/clipboard.h"

#include <cstring>

namespace tarnwell {

bool CopyTextToClipboard(HWND owner, const std::string& text) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory) return false;
    void* bytes = ::GlobalLock(memory);
    if (!bytes) {
        ::GlobalFree(memory);
        return false;
    }
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    ::GlobalUnlock(memory);
    if (!::OpenClipboard(owner)) {
        ::GlobalFree(memory);
        return false;
    }
    ::EmptyClipboard();
    // Once set, the memory belongs to the clipboard.
    const bool set = ::SetClipboardData(CF_TEXT, memory) != nullptr;
    if (!set) ::GlobalFree(memory);
    ::CloseClipboard();
    return set;
}

}  // namespace tarnwell
