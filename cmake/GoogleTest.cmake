# GoogleTest from Debian's source package, built inside our tree: nothing is downloaded.
set(KORVEX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${KORVEX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# Registers every test of a GoogleTest executable with CTest. Under the cross build the executable
# runs through Wine (CMAKE_CROSSCOMPILING_EMULATOR), discovery included.
function(korvex_add_gtests target)
  cmake_parse_arguments(ARG "" "" "PROPERTIES" ${ARGN})
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 300 ${ARG_PROPERTIES})
endfunction()
