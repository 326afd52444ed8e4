# The version's forms, all from the project's version (four numbers):
#   MARIVANE_NEXT_VERSION   one step higher (last number + 1), for the
#                           release the upgrade tests install over this one
#   marivane_version_files(<dir> <version>)
#                           writes <dir>/marivane_version.h, the numbers and
#                           texts of the exe's version record, and
#                           <dir>/Marivane.manifest; res/Marivane.rc finds both
#                           on its include path
include_guard(GLOBAL)

if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "The project's version ${PROJECT_VERSION} needs four numbers, as a Windows version record has")
endif()
math(EXPR next_tweak "${PROJECT_VERSION_TWEAK} + 1")
set(MARIVANE_NEXT_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${next_tweak})

function(marivane_version_files dir version)
  string(REPLACE "." "," MARIVANE_VERSION_NUMBERS ${version})
  string(REPLACE "." "" MARIVANE_VERSION_DIGITS ${version})
  set(MARIVANE_VERSION ${version})
  configure_file(${CMAKE_SOURCE_DIR}/res/marivane_version.h.in ${dir}/marivane_version.h @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/res/Marivane.manifest.in ${dir}/Marivane.manifest @ONLY)
endfunction()
