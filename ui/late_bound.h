#pragma once
// Functions called through a pointer looked up by module and name, so that
// the program still loads where they are missing: those newer than Windows
// 95 and NT 4, and those of libraries that come with other software
// (wininet with Internet Explorer). Every caller has a path for "missing".
//
// TARNWELL_NO_LATER_API=1 in the environment (as it is at the first lookup
// of the process) makes every function newer than Windows 95 and NT 4 read
// as missing, so the paths of the oldest systems run on any Windows and
// under Wine. Functions every system has are never hidden.
#include "base/win.h"

namespace tarnwell {

enum class ApiAge {
    Oldest,  // on every system of its family, wherever its module is installed
    Later,   // newer than Windows 95 or NT 4: hidden by the switch
};

// The function's address, or null when its module or the function is
// missing, or the switch hides it. A module not loaded yet is loaded and
// stays loaded, so an address once given stays valid. Answers are kept.
void* LateBoundAddress(const char* module, const char* name, ApiAge age);

// Whether TARNWELL_NO_LATER_API=1 hides the later functions of this
// process; read once, at the first call.
bool LaterApiHidden();

// A function newer than Windows 95 or NT 4, as the pointer type `Fn`.
template <typename Fn>
Fn BindLater(const char* module, const char* name) {
    return reinterpret_cast<Fn>(LateBoundAddress(module, name, ApiAge::Later));
}

// A function the switch never hides: one every target system has, from a
// library that may be absent, or one that the NT family (NT 4 included)
// implements and the 95 family lacks or has only as a failing stub.
template <typename Fn>
Fn BindOptional(const char* module, const char* name) {
    return reinterpret_cast<Fn>(LateBoundAddress(module, name, ApiAge::Oldest));
}

}  // namespace tarnwell
