# The build flags of the Debian release the package is built on, as
# dpkg-buildflags gives them with every hardening feature on (hardening=+all:
# PIE, full RELRO with BIND_NOW, the stack protector, _FORTIFY_SOURCE, and
# what the release adds, such as Debian 13's control-flow protection). Asked
# from the source folder, so that the file prefix map leaves its path out of
# the program.
find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
foreach(kind IN ITEMS CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                "${DPKG_BUILDFLAGS}" --get ${kind}
        WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
        OUTPUT_VARIABLE dpkg_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
string(APPEND CMAKE_CXX_FLAGS " ${dpkg_CPPFLAGS} ${dpkg_CXXFLAGS}")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${dpkg_LDFLAGS}")
string(APPEND CMAKE_SHARED_LINKER_FLAGS " ${dpkg_LDFLAGS}")
message(STATUS "Debian build flags: ${dpkg_CPPFLAGS} ${dpkg_CXXFLAGS} ${dpkg_LDFLAGS}")
