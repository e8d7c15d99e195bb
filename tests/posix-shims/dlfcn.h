#pragma once
// The POSIX calls the tests load the simulated module with, on the Windows
// loader, so the suites that bind it by its plain name build unchanged. On the
// include path of the Windows build's tests only.
#include <windows.h>

#include <cstdio>

#define RTLD_NOW 2
#define RTLD_LOCAL 0

inline void* dlopen(const char* name, int) { return reinterpret_cast<void*>(LoadLibraryA(name)); }

inline void* dlsym(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

inline int dlclose(void* library) { return FreeLibrary(static_cast<HMODULE>(library)) ? 0 : -1; }

inline const char* dlerror() {
  static thread_local char text[48];
  std::snprintf(text, sizeof text, "Windows error %lu", GetLastError());
  return text;
}
