// The C and C++ runtimes of mingw-w64 call three Unicode kernel functions:
// libgcc's thread primitives (behind static-object guards, exception tables
// and thread-local storage) create their semaphores with CreateSemaphoreW,
// and msvcrt's helpers look modules up with GetModuleHandleW and
// LoadLibraryW. On Windows 95, 98 and ME those exist only as stubs that fail
// with ERROR_CALL_NOT_IMPLEMENTED, so a runtime lock would get no semaphore.
// The runtime calls them through import pointers; defining those pointers
// here, aimed at ANSI versions, takes the Unicode functions out of every
// program that links this file. It must be linked as an object of its own
// (not from a library), so that it comes before the system's import
// libraries.
#include "base/win.h"

// Only the 32-bit program ships; the 64-bit build that stands in for it in
// tests has other import names and needs none of this.
#if defined(__i386__)

namespace {

// Module names are short ASCII names ("msvcrt.dll", "advapi32.dll").
bool Narrow(LPCWSTR wide, char (&narrow)[MAX_PATH]) {
    return ::WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, MAX_PATH, nullptr, nullptr) != 0;
}

HANDLE WINAPI CreateSemaphoreAnsi(LPSECURITY_ATTRIBUTES security, LONG initial, LONG maximum, LPCWSTR name) {
    char narrow[MAX_PATH];
    if (name && !Narrow(name, narrow)) return nullptr;
    return ::CreateSemaphoreA(security, initial, maximum, name ? narrow : nullptr);
}

HMODULE WINAPI GetModuleHandleAnsi(LPCWSTR name) {
    char narrow[MAX_PATH];
    if (name && !Narrow(name, narrow)) return nullptr;
    return ::GetModuleHandleA(name ? narrow : nullptr);
}

HMODULE WINAPI LoadLibraryAnsi(LPCWSTR name) {
    char narrow[MAX_PATH];
    if (!name || !Narrow(name, narrow)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return ::LoadLibraryA(narrow);
}

}  // namespace

// The import pointers, under the names the 32-bit import libraries give
// them; typed, so that they are constants the loader finds in place.
extern "C" {
[[gnu::used]] decltype(&CreateSemaphoreAnsi) createSemaphoreW asm("__imp__CreateSemaphoreW@16") = &CreateSemaphoreAnsi;
[[gnu::used]] decltype(&GetModuleHandleAnsi) getModuleHandleW asm("__imp__GetModuleHandleW@4") = &GetModuleHandleAnsi;
[[gnu::used]] decltype(&LoadLibraryAnsi) loadLibraryW asm("__imp__LoadLibraryW@4") = &LoadLibraryAnsi;
}
#endif
