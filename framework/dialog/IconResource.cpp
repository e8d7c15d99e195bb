#include "framework/dialog/IconResource.h"

#include <map>

namespace {
// Filled at start-up, read by the window thread.
std::map<int, const IconResource*>& Registry() {
  static std::map<int, const IconResource*> icons;
  return icons;
}
}  // namespace

void RegisterIconResource(const IconResource& icon) { Registry()[icon.id] = &icon; }

const IconResource* FindIconResource(int id) {
  const auto found = Registry().find(id);
  return found == Registry().end() ? nullptr : found->second;
}
