#include "device/LibraryHandle.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

LibraryHandle LibraryHandle::Load(const char* name) {
#if defined(_WIN32)
  return LibraryHandle(reinterpret_cast<void*>(LoadLibraryA(name)));
#else
  return LibraryHandle(dlopen(name, RTLD_NOW | RTLD_LOCAL));
#endif
}

void* LibraryHandle::FindSymbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
  return dlsym(handle_, name);
#endif
}
