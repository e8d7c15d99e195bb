#include "res/StringTable.h"

#include "res/ResourceIds.h"

namespace {

struct StringEntry {
  int id;
  const char* text;
};

constexpr StringEntry kStrings[] = {
    {IDS_ABOUTBOX, "&About tqxfft..."},
};

}  // namespace

const char* LoadString(int id) {
  for (const StringEntry& entry : kStrings)
    if (entry.id == id) return entry.text;
  return "";
}
