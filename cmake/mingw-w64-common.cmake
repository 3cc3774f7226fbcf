# Cross-builds for Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64 or
# g++-mingw-w64-i686, mingw-w64-tools for widl). The toolchain file of each
# bitness sets VTX_MINGW_PREFIX and CMAKE_SYSTEM_PROCESSOR, then includes this.
set(CMAKE_SYSTEM_NAME Windows)
# The POSIX thread model gives the full <mutex>/<thread> of libstdc++ 12;
# everything is linked statically, so no runtime DLL of the toolchain ships.
find_program(CMAKE_C_COMPILER NAMES ${VTX_MINGW_PREFIX}-gcc-posix ${VTX_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VTX_MINGW_PREFIX}-g++-posix ${VTX_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VTX_MINGW_PREFIX}-windres REQUIRED)
find_program(VTX_WIDL NAMES ${VTX_MINGW_PREFIX}-widl widl)

set(CMAKE_FIND_ROOT_PATH /usr/${VTX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests run the Windows programs under Wine. Debian's `wine` starts Wine's
# 32-bit loader whenever wine32 is installed, and that loader runs Wine's own
# programs (cmd, cscript, regsvr32) as their 32-bit builds, which see the
# 32-bit registry view: the 64-bit DLL's tests take the 64-bit loader itself.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL x86_64)
  find_program(VTX_WINE NAMES wine64 PATHS /usr/lib/wine)
endif()
find_program(VTX_WINE NAMES wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VTX_WINE})
