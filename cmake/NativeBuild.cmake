# The native build: the game on the headless double with its unit, integration
# and end-to-end tests, optionally under the sanitizers; Marivane.exe
# cross-built in windows/ (mingw-w64's GCC) and windows-clang/ (clang), each a
# Windows build of its own (cmake/WindowsBuild.cmake); the release packed
# from windows/ (cmake/Release.cmake); the benchmarks of bench/ on request.

include(cmake/Headless.cmake)

# ---- Marivane.exe, cross-built with mingw-w64's g++ and with clang for the end-to-end tests ----
find_program(MINGW_CXX x86_64-w64-mingw32-g++)
find_program(CLANG_CXX clang++)
if(MINGW_CXX AND NOT MARIVANE_SANITIZE)
  set(windows_default ON)
else()
  set(windows_default OFF)
endif()
option(MARIVANE_WINDOWS_BUILD "Also cross-build Marivane.exe with mingw-w64, and with clang when found" ${windows_default})
if(MARIVANE_WINDOWS_BUILD)
  include(ExternalProject)
  # Cross-builds Marivane.exe in <dir> with cmake/<toolchain>; any compiler or
  # linker warning fails the build. Its files are named so that a build tool
  # knows which target makes them.
  function(marivane_add_windows_build name dir toolchain)
    ExternalProject_Add(${name}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${dir}
      CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${toolchain} -DCMAKE_BUILD_TYPE=Release
                 -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DMARIVANE_STORE_TOOL=$<TARGET_FILE:make_starter_store>
                 -DMARIVANE_PACKED_BY_HOST=ON
      DEPENDS make_starter_store
      BUILD_ALWAYS ON
      BUILD_BYPRODUCTS ${dir}/Marivane.exe ${dir}/next/Marivane.exe ${dir}/MVStarters.dat
                       ${dir}/${MARIVANE_HELP_TITLE}.chm
      INSTALL_COMMAND "")
  endfunction()
  set(MARIVANE_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
  marivane_add_windows_build(marivane_windows ${MARIVANE_WINDOWS_DIR} mingw-w64-x86_64.cmake)
  set(MARIVANE_EXE ${MARIVANE_WINDOWS_DIR}/Marivane.exe)
  if(CLANG_CXX)
    marivane_add_windows_build(marivane_windows_clang ${CMAKE_BINARY_DIR}/windows-clang clang-mingw-w64-x86_64.cmake)
    set(MARIVANE_CLANG_EXE ${CMAKE_BINARY_DIR}/windows-clang/Marivane.exe)
  endif()

  # The release of the GCC build: its exe and starters, and the help when chmcmd is there to make it.
  include(cmake/Help.cmake)
  if(CHMCMD)
    set(help_file ${MARIVANE_WINDOWS_DIR}/${MARIVANE_HELP_TITLE}.chm)
  endif()
  include(cmake/Release.cmake)
  marivane_add_release_targets(EXE ${MARIVANE_EXE} NEXT_EXE ${MARIVANE_WINDOWS_DIR}/next/Marivane.exe
      STARTERS ${MARIVANE_WINDOWS_DIR}/MVStarters.dat HELP "${help_file}" DEPENDS marivane_windows)
endif()

option(MARIVANE_BENCH "Build the file-work benchmarks in bench/ (needs libbenchmark-dev)" OFF)
if(MARIVANE_BENCH)
  add_subdirectory(bench)
endif()

enable_testing()
add_subdirectory(tests)

# The starter list keeps its rules, and the store made from it holds exactly its puzzles.
add_test(NAME check_starter_puzzles COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/res/puzzles/check_starter_puzzles.py
    ${CMAKE_SOURCE_DIR}/res/puzzles/starter_puzzles.txt ${MARIVANE_STARTERS})
set_tests_properties(check_starter_puzzles PROPERTIES LABELS unit)
