#include "app/settings_store.h"

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

void TFormStorage::RestoreFormPlacement(const IniText& settings) {
    const auto read = [&settings](const std::string& key, const std::string& fallback) {
        return settings.Get(kSection, key).value_or(fallback);
    };
    if (ParseInt(read("FormVersion", "0")) < 0) return;
    for (const ControlDecl* decl : StoredControls()) {
        TControl* control = lookup_(decl->id);
        if (!control) continue;
        control->SetPropertyText(read(KeyOf(*decl), control->PropertyText()));
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
