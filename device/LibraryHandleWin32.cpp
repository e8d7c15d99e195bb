#include <windows.h>

#include "device/LibraryHandle.h"

LibraryHandle LibraryHandle::Load(const char* name) {
  return LibraryHandle(reinterpret_cast<void*>(LoadLibraryA(name)));
}

void* LibraryHandle::FindSymbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}
