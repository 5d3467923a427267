// Vintrel.exe: Windows ME starts it once at the next start of Windows
// (a RunOnce entry, with "/t /h /c"). It hands its command line to the
// popup blocker library's DeleteIndexFiles, which removes Internet
// Explorer's index files before anything holds them open, and ends. It
// opens no window.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "stand-ins/popup/snuffet.h"

namespace {

// A string in the form the library reads: its 32-bit length in the four
// bytes before its characters, which end in a zero; null when empty.
class PrefixedString {
public:
    explicit PrefixedString(const std::string& text) : bytes_(sizeof(std::int32_t) + text.size() + 1, 0) {
        const std::int32_t length = static_cast<std::int32_t>(text.size());
        std::memcpy(bytes_.data(), &length, sizeof length);
        std::memcpy(bytes_.data() + sizeof length, text.data(), text.size());
        empty_ = text.empty();
    }
    const char* Get() const { return empty_ ? nullptr : bytes_.data() + sizeof(std::int32_t); }

private:
    std::vector<char> bytes_;
    bool empty_ = true;
};

std::string OwnPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string Argument(int index) { return index < __argc ? __argv[index] : ""; }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const PrefixedString self(OwnPath()), first(Argument(1)), second(Argument(2)), third(Argument(3));
    // Arguments past the third are counted but not handed on.
    DeleteIndexFiles(__argc - 1, self.Get(), first.Get(), second.Get(), third.Get());
    return 0;
}
