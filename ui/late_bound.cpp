#include "ui/late_bound.h"

#include <string>
#include <vector>

namespace tarnwell {

namespace {

struct Binding {
    std::string module, name;
    void* address;
};

// Every answer given, for the life of the process, under the module's name
// as the code spells it. Lookups come from the window thread and from the
// sweeps' threads alike.
class Bindings {
public:
    Bindings() { ::InitializeCriticalSection(&lock_); }
    Bindings(const Bindings&) = delete;
    Bindings& operator=(const Bindings&) = delete;

    void* Find(const char* module, const char* name) {
        Lock lock(lock_);
        for (const Binding& b : bindings_)
            if (b.name == name && b.module == module) return b.address;
        void* address = Look(module, name);
        bindings_.push_back(Binding{module, name, address});
        return address;
    }

private:
    class Lock {
    public:
        explicit Lock(CRITICAL_SECTION& section) : section_(section) { ::EnterCriticalSection(&section_); }
        ~Lock() { ::LeaveCriticalSection(&section_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        CRITICAL_SECTION& section_;
    };

    // A module already in the process is used as it is; another is loaded
    // and never freed, since the addresses handed out point into it.
    static void* Look(const char* module, const char* name) {
        HMODULE handle = ::GetModuleHandleA(module);
        if (!handle) handle = ::LoadLibraryA(module);
        return handle ? reinterpret_cast<void*>(::GetProcAddress(handle, name)) : nullptr;
    }

    CRITICAL_SECTION lock_;
    std::vector<Binding> bindings_;
};

bool SwitchSet() {
    char value[8] = {};
    const DWORD length = ::GetEnvironmentVariableA("TARNWELL_NO_LATER_API", value, sizeof value);
    return length == 1 && value[0] == '1';
}

}  // namespace

bool LaterApiHidden() {
    static const bool hidden = SwitchSet();
    return hidden;
}

void* LateBoundAddress(const char* module, const char* name, ApiAge age) {
    if (age == ApiAge::Later && LaterApiHidden()) return nullptr;
    // Never destroyed: a thread may still look something up while the
    // process exits.
    static Bindings& bindings = *new Bindings;
    return bindings.Find(module, name);
}

}  // namespace tarnwell
