# GoogleTest for a cross build, compiled from the sources Debian's googletest
# package ships. Its own build names the libraries GTest::gtest, GTest::gmock
# and GTest::gtest_main, as find_package(GTest) does for a native build.
set(TQX_GTEST_SOURCE /usr/src/googletest)
if(NOT EXISTS ${TQX_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's sources are missing from ${TQX_GTEST_SOURCE} (Debian package googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${TQX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
