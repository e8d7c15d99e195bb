#include <string>

#include "device/DriverTable.h"
#include "framework/MessageBox.h"

namespace {

// Stores the entry point's address in its field, or reports it missing.
template <typename Entry>
bool BindEntry(const LibraryHandle& library, const char* name, Entry& field) {
  void* address = library.FindSymbol(name);
  if (address == nullptr) {
    AfxMessageBox(std::string("Error: Can't Find ") + name);
    return false;
  }
  field = reinterpret_cast<Entry>(address);
  return true;
}

}  // namespace

int BindDriver(DriverTable& table) {
  table.libraryHandle = LibraryHandle::Load(kDriverLibraryName);
  if (!table.libraryHandle.IsLoaded()) return 1;

  const LibraryHandle& library = table.libraryHandle;
  // The lookup order decides which name a library lacking several reports:
  // the chain stops at the first one missing.
  const bool allBound = BindEntry(library, "FT_Write", table.FT_Write) &&
                        BindEntry(library, "FT_Read", table.FT_Read) &&
                        BindEntry(library, "FT_OpenEx", table.FT_OpenEx) &&
                        BindEntry(library, "FT_Open", table.FT_Open) &&
                        BindEntry(library, "FT_ListDevices", table.FT_ListDevices) &&
                        BindEntry(library, "FT_Close", table.FT_Close) &&
                        BindEntry(library, "FT_SetBitMode", table.FT_SetBitMode) &&
                        BindEntry(library, "FT_SetTimeouts", table.FT_SetTimeouts) &&
                        BindEntry(library, "FT_GetQueueStatus", table.FT_GetQueueStatus);
  return allBound ? 0 : 1;
}
