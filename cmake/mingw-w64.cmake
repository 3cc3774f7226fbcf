# 64-bit Windows (x64), for a 64-bit Korvel.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VTX_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
