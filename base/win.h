#pragma once
// The one place that includes <windows.h>, with the settings every Win32
// unit of the program shares: ANSI calls, and the API surface of the oldest
// systems the program runs on (Windows 95 and NT 4). Anything newer is
// looked up by name at run time (ui/late_bound.h), so that the program
// still loads where it is missing.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#undef UNICODE
#undef _UNICODE
// The versions are set outright, not only when unset: every standard
// header brings in the C runtime's _mingw.h, which sets _WIN32_WINNT to
// Windows 10's when nothing has, long before this file is reached.
#undef WINVER
#define WINVER 0x0400
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0400
// The Windows 98 level of the 9x headers; what of it Windows 95 lacks
// is called through ui/late_bound.h.
#undef _WIN32_WINDOWS
#define _WIN32_WINDOWS 0x0410
// Common controls 4.71 (Internet Explorer 4, Windows 98): the up-down's
// 32-bit range (UDM_SETRANGE32) needs it. Windows 95 and NT 4 need the
// common-controls update. The 32-bit position message of 5.80 is sent too,
// but TSpinEdit writes the buddy's text itself when it goes unanswered.
#undef _WIN32_IE
#define _WIN32_IE 0x0400
#include <windows.h>
#include <commctrl.h>
