# The .deb: everything the install rules put under /usr, with the Qt 6
# runtime and the C++ runtime as dependencies, found by dpkg-shlibdeps from
# the programs themselves so the list cannot go stale.
set(CPACK_GENERATOR DEB)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME tqxfft)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "tqxfft maintainers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tone monitor and switching controller for a USB data-acquisition module")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A cross build's toolchain file names the architecture it builds for; a
# native build's is dpkg's own.
if(TQX_DEBIAN_ARCHITECTURE)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${TQX_DEBIAN_ARCHITECTURE})
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "tqxfft maintainers <maintainers@tqxfft.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The licence (MIT) is stated in /usr/share/doc/tqxfft/copyright, with its
# SPDX identifier in that file's header: a control file has no licence field,
# and CPack cannot add a field of our own.
# CPack puts the summary first and indents this text as a control file wants.
set(CPACK_PACKAGE_DESCRIPTION
"The monitor listens to the module's analog input, decides ten times a second which frequency bin is heard, counts hits for eight user-defined functions and, when one reaches its count, drives an expander line, the two 0-5 V analog outputs and four relays.

The package includes a simulated module, used only by the menu entry \"tqxfft (simulated module)\"; tqxdata, which turns the data file into text and back; and tqxscan, which runs the monitor's detection over a WAV recording.")

include(CPack)
