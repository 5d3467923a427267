#include "app/system_info_win.h"

#include <vector>

#include "ui/handles.h"
#include "ui/win.h"

namespace tarnwell {

OsFlags DetectOsFlags() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // the 148-byte structure every Windows accepts
    if (!::GetVersionExA(&info)) return OsFlags{};
    return OsFlagsFor(static_cast<int>(info.dwPlatformId), info.dwMajorVersion, info.dwMinorVersion);
}

bool IsUserAdministrator() {
    KernelHandle token;
    if (!::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.put())) {
        if (::GetLastError() != ERROR_NO_TOKEN) return false;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    }
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                    0, 0, &administrators))
        return false;
    bool member = false;
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size > 0 && ::GetTokenInformation(token.get(), TokenGroups, buffer.data(), size, &size)) {
        const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
        for (DWORD i = 0; i < groups->GroupCount && !member; ++i)
            member = ::EqualSid(groups->Groups[i].Sid, administrators) != FALSE;
    }
    ::FreeSid(administrators);
    return member;
}

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path, length);
    const size_t slash = file.find_last_of('\\');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

}  // namespace tarnwell
