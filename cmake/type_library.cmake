# Type libraries compiled by widl (mingw-w64-tools). The Automation IDL
# (oaidl.idl) and stdole2.tlb come with Wine's development files; mingw-w64
# ships only the compiled headers.
if(NOT VTX_WIDL)
  message(FATAL_ERROR "widl (mingw-w64-tools) is needed to build the type libraries")
endif()
find_path(VTX_WINE_IDL_DIR oaidl.idl PATHS /usr/include/wine/wine/windows NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
# Either bitness of stdole2.tlb serves: widl only imports its type names.
find_path(VTX_STDOLE_DIR stdole2.tlb
          PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/i386-linux-gnu/wine/i386-windows
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# Compiles `idl` into the type library `tlb` and the C++ header `header` of
# its interfaces, for the target's bitness.
function(vtx_type_library idl tlb header)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(bitness -m32)
  else()
    set(bitness -m64)
  endif()
  get_filename_component(name ${tlb} NAME_WE)
  add_custom_command(
    OUTPUT ${tlb} ${header}
    COMMAND ${VTX_WIDL} ${bitness} -I${VTX_WINE_IDL_DIR} -L${VTX_STDOLE_DIR} -t -T ${tlb} -h -H ${header}
            ${idl}
    DEPENDS ${idl}
    COMMENT "Compiling the type library ${name}"
    VERBATIM)
endfunction()
