#pragma once
// The one include of the Windows API. The framework's public headers declare
// names that windows.h also declares or turns into macros (IDOK, RGB,
// GetSystemMetrics, SetWindowText, LoadString, ...), so this header and those
// never meet in one translation unit: the files that include it implement
// Native.h and see of the framework only its plain data headers.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0A00
#endif
#ifndef WINVER
#define WINVER 0x0A00
#endif

#include <windows.h>
#include <commctrl.h>
#include <timeapi.h>
