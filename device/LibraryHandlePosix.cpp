#include <dlfcn.h>

#include "device/LibraryHandle.h"

LibraryHandle LibraryHandle::Load(const char* name) { return LibraryHandle(dlopen(name, RTLD_NOW | RTLD_LOCAL)); }

void* LibraryHandle::FindSymbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  return dlsym(handle_, name);
}
