# SQLite: the toolchain's own where it has one; the cross build compiles the amalgamation.
find_package(SQLite3 QUIET)
if(NOT SQLite3_FOUND)
  set(TOVANIX_SQLITE_AMALGAMATION "${CMAKE_BINARY_DIR}/../sqlite" CACHE PATH
      "Folder holding sqlite3.c and sqlite3.h (./dev.sh setup generates it)")
  if(NOT EXISTS "${TOVANIX_SQLITE_AMALGAMATION}/sqlite3.c")
    message(FATAL_ERROR "No SQLite found and no amalgamation in ${TOVANIX_SQLITE_AMALGAMATION}; run ./dev.sh setup")
  endif()
  add_library(tovanix_sqlite3 STATIC "${TOVANIX_SQLITE_AMALGAMATION}/sqlite3.c")
  target_include_directories(tovanix_sqlite3 SYSTEM PUBLIC "${TOVANIX_SQLITE_AMALGAMATION}")
  target_compile_definitions(tovanix_sqlite3 PRIVATE SQLITE_DQS=0 SQLITE_OMIT_LOAD_EXTENSION SQLITE_THREADSAFE=0)
  target_compile_options(tovanix_sqlite3 PRIVATE -w)
  add_library(SQLite::SQLite3 ALIAS tovanix_sqlite3)
endif()

# GoogleTest: the host has it installed; the cross build compiles Debian's sources.
if(BUILD_TESTING OR NOT DEFINED BUILD_TESTING)
  find_package(GTest QUIET)
  if(NOT GTest_FOUND)
    set(TOVANIX_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources")
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory("${TOVANIX_GOOGLETEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gmock ALIAS gmock)
  endif()
endif()

# Google Benchmark: benchmarks are host programs, run by hand.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(benchmark QUIET)
endif()
