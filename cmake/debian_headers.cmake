# The header-only libraries for a cross build: fmt (made header-only with
# FMT_HEADER_ONLY), nlohmann-json and CLI11, from Debian's development
# packages (libfmt-dev, nlohmann-json3-dev, libcli11-dev). Their headers live
# in /usr/include beside glibc's, which must stay out of a mingw-w64 build:
# a folder of the build tree holds links to the three libraries' folders
# only, and the targets the native build finds with find_package point there.
set(VTX_DEBIAN_HEADERS ${CMAKE_BINARY_DIR}/debian_headers)
file(MAKE_DIRECTORY ${VTX_DEBIAN_HEADERS})
foreach(folder fmt nlohmann CLI)
  find_path(VTX_HEADERS_${folder} ${folder} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT VTX_HEADERS_${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: install libfmt-dev, nlohmann-json3-dev, libcli11-dev")
  endif()
  file(CREATE_LINK ${VTX_HEADERS_${folder}}/${folder} ${VTX_DEBIAN_HEADERS}/${folder} SYMBOLIC)
endforeach()

add_library(fmt::fmt INTERFACE IMPORTED)
target_include_directories(fmt::fmt SYSTEM INTERFACE ${VTX_DEBIAN_HEADERS})
target_compile_definitions(fmt::fmt INTERFACE FMT_HEADER_ONLY)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${VTX_DEBIAN_HEADERS})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${VTX_DEBIAN_HEADERS})
