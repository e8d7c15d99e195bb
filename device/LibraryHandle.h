#pragma once
// Owns the handle of a shared library loaded at run time by its plain name and
// looks entry points up in it.
#include <utility>

class LibraryHandle {
 public:
  LibraryHandle() = default;
  LibraryHandle(const LibraryHandle&) = delete;
  LibraryHandle& operator=(const LibraryHandle&) = delete;
  LibraryHandle(LibraryHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  LibraryHandle& operator=(LibraryHandle&& other) noexcept {
    handle_ = std::exchange(other.handle_, nullptr);
    return *this;
  }
  // Deliberately never unloads: the driver library stays loaded until the
  // process ends, so no thread that is still inside it, or that still holds one
  // of its entry points, can ever call into unloaded code.
  ~LibraryHandle() = default;

  // Loads by plain name, through the system's normal search order. Returns an
  // empty handle when the library cannot be loaded.
  static LibraryHandle Load(const char* name);

  // The address of the named entry point, or nullptr.
  void* FindSymbol(const char* name) const;

  bool IsLoaded() const { return handle_ != nullptr; }

 private:
  explicit LibraryHandle(void* handle) : handle_(handle) {}
  void* handle_ = nullptr;
};
