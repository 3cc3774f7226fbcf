# The distributable VTX_HA-<version>-windows.zip: both DLLs with their type
# libraries (x86/ for a 32-bit Korvel, x64/ for a 64-bit one), install.cmd,
# uninstall.cmd and the setup guide. The 64-bit build makes it
# (`cmake --build --preset windows --target package`) and takes the 32-bit DLL
# from the windows32 build, which must be built first.
set(VTX_X86_DIR ${PROJECT_SOURCE_DIR}/build/windows32/src/com
    CACHE PATH "Folder holding the 32-bit VTX_HA.dll and VTX_HA.tlb")
install(FILES $<TARGET_FILE:VTX_HA> ${VTX_TLB} DESTINATION x64)
install(FILES ${VTX_X86_DIR}/VTX_HA.dll ${VTX_X86_DIR}/VTX_HA.tlb DESTINATION x86)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/install.cmd
              ${PROJECT_SOURCE_DIR}/packaging/uninstall.cmd
              ${PROJECT_SOURCE_DIR}/docs/korvel-setup.md
        DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME VTX_HA)
set(CPACK_PACKAGE_FILE_NAME VTX_HA-${PROJECT_VERSION}-windows)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
