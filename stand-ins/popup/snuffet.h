#pragma once
// What snuffet.dll, the Internet Explorer popup blocker beside Tarnwell,
// shares with its callers: the class of its browser extension and the
// boot-time entry point Vintrel imports.
#include "base/win.h"

namespace tarnwell {

// {8B6A1F2E-5C3D-4E7A-9F10-2A4B6C8D0E13}, registered as a browser helper
// object of Internet Explorer.
inline constexpr GUID kPopupKillerClass = {0x8b6a1f2e, 0x5c3d, 0x4e7a, {0x9f, 0x10, 0x2a, 0x4b, 0x6c, 0x8d, 0x0e, 0x13}};
inline constexpr const char* kPopupKillerClassText = "{8B6A1F2E-5C3D-4E7A-9F10-2A4B6C8D0E13}";

}  // namespace tarnwell

// Removes the index files index.lst (beside the library) names. The
// strings carry their 32-bit length in the four bytes before their
// characters and are null when empty: `count` arguments followed the
// program name, `self` is the caller's own path, the switches "/t", "/h"
// and "/c" choose the cache, history and cookie index.
#ifdef SNUFFET_LIBRARY
#define SNUFFET_API __declspec(dllexport)
#else
#define SNUFFET_API __declspec(dllimport)
#endif
extern "C" SNUFFET_API void __stdcall DeleteIndexFiles(int count, const char* self, const char* first,
                                                                 const char* second, const char* third);
