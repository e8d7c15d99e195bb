# Cross-building the Windows programs on Debian with mingw-w64 (posix thread
# model, x86_64). Everything is linked statically, so the .exe files and the
# simulated module's DLL need nothing beside them on a bare Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Test executables run under Wine (64-bit only, as Debian packages it). Debian's
# wine64 keeps its loader out of PATH unless the wine package is installed too.
find_program(TQX_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(TQX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TQX_WINE})
endif()
