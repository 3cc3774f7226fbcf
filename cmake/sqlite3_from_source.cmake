# SQLite for a cross build, compiled with the cross compiler from the
# amalgamation that scripts/sqlite-amalgamation.sh makes out of Debian's
# source package of sqlite3 (the version of the native build's libsqlite3-dev).
# The amalgamation and the downloaded package stay in VTX_DEPS_DIR across
# builds and are shared by both bitnesses; scripts/add-deb-src.sh lets apt
# fetch source packages.
set(VTX_DEPS_DIR ${PROJECT_SOURCE_DIR}/build/deps CACHE PATH
    "Where cross builds keep what they make from Debian's source packages")
set(VTX_SQLITE_DIR ${VTX_DEPS_DIR}/sqlite3)
execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/sqlite-amalgamation.sh ${VTX_SQLITE_DIR}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "SQLite's amalgamation could not be made from Debian's source package "
                      "(scripts/add-deb-src.sh adds the deb-src entry apt needs; dpkg-dev and "
                      "tcl must be installed)")
endif()
file(READ ${VTX_SQLITE_DIR}/VERSION VTX_SQLITE_VERSION)
string(STRIP "${VTX_SQLITE_VERSION}" VTX_SQLITE_VERSION)
message(STATUS "SQLite ${VTX_SQLITE_VERSION} from Debian's source package")

add_library(vtx_sqlite3 STATIC ${VTX_SQLITE_DIR}/sqlite3.c)
target_include_directories(vtx_sqlite3 SYSTEM PUBLIC ${VTX_SQLITE_DIR})
# -O2 as Debian builds it (the build type's -O3 buys nothing measurable here and
# takes longer); -w: the project's warnings are not SQLite's to meet.
target_compile_options(vtx_sqlite3 PRIVATE -O2 -w)
target_compile_definitions(vtx_sqlite3 PRIVATE
  # As Debian's libsqlite3, which the native build links: what SQL does, what
  # it may bind and how connections wait must not depend on the system.
  SQLITE_THREADSAFE=1
  SQLITE_USE_URI=1
  SQLITE_MAX_VARIABLE_NUMBER=250000
  SQLITE_MAX_SCHEMA_RETRY=25
  SQLITE_LIKE_DOESNT_MATCH_BLOBS
  SQLITE_ALLOW_ROWID_IN_VIEW
  SQLITE_ENABLE_MATH_FUNCTIONS
  # Deleted rows are overwritten, not left readable in the file.
  SQLITE_SECURE_DELETE
  # Nothing loads extensions, so no SQL can make the process load a DLL.
  SQLITE_OMIT_LOAD_EXTENSION)
# Left out of Debian's options: the full-text, R-tree, session, soundex and
# statement/dbstat virtual tables, column metadata, unlock notification and
# the pre-update hook, which the emulated host does not use; OMIT_LOOKASIDE,
# which Debian sets for memory checkers. Windows itself needs nothing: the
# amalgamation picks its Win32 layer (UTF-8 file names passed as UTF-16, file
# locks, and the -shm file mapping that WAL mode needs) by _WIN32.
add_library(SQLite::SQLite3 ALIAS vtx_sqlite3)
