# 32-bit Windows (x86), for a 32-bit Korvel: an in-process server loads only
# into a process of its own bitness.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VTX_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
