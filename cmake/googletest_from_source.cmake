# GoogleTest and GoogleMock for a cross build, built with the cross toolchain
# from the sources Debian ships with libgtest-dev and libgmock-dev
# (/usr/src/googletest). Sets VTX_GTEST_SOURCE_DIR, false when they are missing.
include_guard(GLOBAL)
find_path(VTX_GTEST_SOURCE_DIR CMakeLists.txt PATHS /usr/src/googletest NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(VTX_GTEST_SOURCE_DIR)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${VTX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(target gtest gtest_main gmock gmock_main)
    target_compile_options(${target} PRIVATE -w)
  endforeach()
endif()
