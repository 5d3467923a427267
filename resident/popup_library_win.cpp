#include "resident/popup_library_win.h"

#include "base/handles.h"

namespace tarnwell {

namespace {

using EntryPoint = HRESULT(STDAPICALLTYPE*)();

void CallEntryPoint(const std::string& programDir, const char* name) {
    Library library(::LoadLibraryA((programDir + "snuffet.dll").c_str()));
    if (!library) return;
    if (auto entry = reinterpret_cast<EntryPoint>(::GetProcAddress(library.get(), name))) entry();
}

}  // namespace

void RegisterPopupKiller(const std::string& programDir) { CallEntryPoint(programDir, "DllRegisterServer"); }

void UnregisterPopupKiller(const std::string& programDir) { CallEntryPoint(programDir, "DllUnregisterServer"); }

}  // namespace tarnwell
