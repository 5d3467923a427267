#include "app/system_info_win.h"

#include <cstddef>
#include <optional>
#include <vector>

#include "app/sid_text.h"
#include "base/handles.h"
#include "ui/late_bound.h"
#include "base/win.h"

namespace tarnwell {

OsFlags DetectOsFlags() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // the 148-byte structure every Windows accepts
    if (!::GetVersionExA(&info)) return OsFlags{};
    return OsFlagsFor(static_cast<int>(info.dwPlatformId), info.dwMajorVersion, info.dwMinorVersion);
}

namespace {

using OpenThreadTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, BOOL, PHANDLE);
using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
using GetTokenInformationFn = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);

}  // namespace

KernelHandle OpenOwnToken(DWORD access, bool threadFirst) {
    const auto openThreadToken = BindOptional<OpenThreadTokenFn>("advapi32.dll", "OpenThreadToken");
    const auto openProcessToken = BindOptional<OpenProcessTokenFn>("advapi32.dll", "OpenProcessToken");
    KernelHandle token;
    if (threadFirst) {
        if (!openThreadToken) return token;
        if (openThreadToken(::GetCurrentThread(), access, TRUE, token.put())) return token;
        if (::GetLastError() != ERROR_NO_TOKEN) return token;
    }
    if (openProcessToken) openProcessToken(::GetCurrentProcess(), access, token.put());
    return token;
}

std::vector<unsigned char> TokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS what) {
    const auto getTokenInformation = BindOptional<GetTokenInformationFn>("advapi32.dll", "GetTokenInformation");
    if (!getTokenInformation) return {};
    DWORD size = 0;
    getTokenInformation(token, what, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !getTokenInformation(token, what, buffer.data(), size, &size)) return {};
    buffer.resize(size);
    return buffer;
}

std::optional<SidParts> SidInBuffer(const std::vector<unsigned char>& buffer, const void* sid) {
    const auto* at = static_cast<const unsigned char*>(sid);
    if (at < buffer.data() || at >= buffer.data() + buffer.size()) return std::nullopt;
    return ReadSid(at, static_cast<std::size_t>(buffer.data() + buffer.size() - at));
}

bool IsUserAdministrator() {
    const KernelHandle token = OpenOwnToken(TOKEN_QUERY, true);
    if (!token) return false;
    const std::vector<unsigned char> buffer = TokenInformation(token.get(), TokenGroups);
    if (buffer.size() < sizeof(TOKEN_GROUPS)) return false;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    const std::size_t listed = (buffer.size() - offsetof(TOKEN_GROUPS, Groups)) / sizeof(SID_AND_ATTRIBUTES);
    const SidParts administrators = AdministratorsSid();
    for (DWORD i = 0; i < groups->GroupCount && i < listed; ++i)
        if (SidInBuffer(buffer, groups->Groups[i].Sid) == administrators) return true;
    return false;
}

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path, length);
    const size_t slash = file.find_last_of('\\');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

}  // namespace tarnwell
