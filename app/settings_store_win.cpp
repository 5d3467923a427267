#include "app/settings_store.h"

#include <vector>

#include "app/control_table.h"
#include "app/settings_file_win.h"
#include "base/setting_value.h"
#include "ui/controls.h"
#include "base/win.h"

namespace tarnwell {

namespace {

std::string KeyOf(const ControlDecl& decl) {
    return std::string(decl.name) + "_" + std::string(PropertyName(StoredPropertyOf(decl)));
}

}  // namespace

std::string TFormStorage::ReadKey(const std::string& key, const std::string& fallback) const {
    // Grow the buffer until the whole value fits (the call truncates silently).
    for (DWORD size = 1024; size <= (1u << 20); size *= 4) {
        std::vector<char> buffer(size, '\0');
        const DWORD length = ::GetPrivateProfileStringA(kSection, key.c_str(), fallback.c_str(), buffer.data(), size,
                                                        fileName_.c_str());
        if (length < size - 1) return std::string(buffer.data(), length);
    }
    return fallback;
}

void TFormStorage::RestoreFormPlacement() {
    if (ParseInt(ReadKey("FormVersion", "0")) < 0) return;
    for (const ControlDecl* decl : StoredControls()) {
        TControl* control = lookup_(decl->id);
        if (!control) continue;
        control->SetPropertyText(ReadKey(KeyOf(*decl), control->PropertyText()));
    }
}

DWORD TFormStorage::SaveFormPlacement() {
    IniKeys keys{{"FormVersion", "0"}};
    for (const ControlDecl* decl : StoredControls()) {
        TControl* control = lookup_(decl->id);
        if (control) keys.emplace_back(KeyOf(*decl), control->PropertyText());
    }
    return UpdateSettingsFile(fileName_, [&keys](IniText& ini) { ini.Set(kSection, keys); });
}

}  // namespace tarnwell
