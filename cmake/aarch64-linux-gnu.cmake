# Cross-building the Linux programs for arm64 on an x86-64 Debian machine,
# with Debian's cross compiler and the arm64 libraries installed beside the
# native ones (multiarch: /usr/lib/aarch64-linux-gnu, one /usr/include). The
# build's own programs (the icon's exporter) and the tests run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# What the .deb gives as its architecture.
set(TQX_DEBIAN_ARCHITECTURE arm64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# arm64 always has fused multiply-add, and GCC fuses a*b+c wherever it may;
# x86-64 (built for its baseline) never does. Without fusing, every voltage,
# sample and level rounds on a board exactly as on the desktop.
set(CMAKE_CXX_FLAGS_INIT -ffp-contract=off)

# pkg-config reads only the arm64 libraries' files (Debian ships no
# aarch64-linux-gnu-pkg-config).
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/pkgconfig:/usr/share/pkgconfig)

# Qt's build-time tools are the host's, from the x86-64 Qt packages.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# Debian's qemu-user; its own loader and libraries are found under /, where
# multiarch put them.
find_program(TQX_QEMU NAMES qemu-aarch64)
if(TQX_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TQX_QEMU})
endif()
