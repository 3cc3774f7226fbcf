# Wine runs 32-bit programs with its 32-bit half (wine32:i386), and only on a
# kernel that runs 32-bit programs at all: some have that switched off.
# Sets VTX_NO_WINE32 to why it cannot, or to nothing; the Wine tests of a
# 32-bit build (tests/com, tests/wine) are listed as not run when it is set.
execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/runs-32bit-programs.sh
                RESULT_VARIABLE status OUTPUT_VARIABLE VTX_NO_WINE32 OUTPUT_STRIP_TRAILING_WHITESPACE)
if(status EQUAL 0 AND NOT EXISTS /usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll)
  set(VTX_NO_WINE32 "no 32-bit Wine (wine32:i386)")
elseif(NOT status EQUAL 0 AND NOT VTX_NO_WINE32)
  set(VTX_NO_WINE32 "scripts/runs-32bit-programs.sh failed (${status})")
endif()
