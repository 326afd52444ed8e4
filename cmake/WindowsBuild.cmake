# The Windows build: Marivane.exe with its resources and help, the start-up
# floor of bench/, and Marivane.exe once more in next/, one version higher,
# for the upgrade tests. Cross-built from the native build, or on its own
# (MSVC on Windows, or a cross build given a native MARIVANE_STORE_TOOL),
# when it packs the release itself.

# winmm and shell32 are not linked: platform/win32_on_demand.cpp loads them on first use.
target_sources(marivane_game PRIVATE platform/win32_on_demand.cpp)
target_link_libraries(marivane_game PUBLIC user32 gdi32 kernel32)

set(resource_script ${CMAKE_SOURCE_DIR}/res/Marivane.rc)
set(MARIVANE_NEXT_VERSION_DIR ${CMAKE_BINARY_DIR}/generated-next)
marivane_version_files(${MARIVANE_NEXT_VERSION_DIR} ${MARIVANE_NEXT_VERSION})
set_source_files_properties(${resource_script} PROPERTIES INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/res
  OBJECT_DEPENDS "${MARIVANE_VERSION_DIR}/Marivane.manifest;${MARIVANE_NEXT_VERSION_DIR}/Marivane.manifest")

# Marivane.exe of the given version, linked from the game library and the
# resources compiled with that version's record and manifest in <version_dir>.
function(marivane_add_exe target resources version_dir)
  add_library(${resources} OBJECT ${resource_script})
  target_include_directories(${resources} PRIVATE ${version_dir})
  add_executable(${target} WIN32 $<TARGET_OBJECTS:${resources}>)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME Marivane)
  target_link_libraries(${target} PRIVATE marivane_game)
  if(MINGW)
    # One self-contained file: no libstdc++/libgcc/winpthread DLLs beside it.
    # WinMain lives in the game library, which the C runtime's own reference
    # to it would reach too late: ask for it up front.
    target_link_options(${target} PRIVATE -static -mwindows -Wl,-u,WinMain $<$<CONFIG:Release>:-s>
                        $<$<BOOL:${CMAKE_COMPILE_WARNING_AS_ERROR}>:-Wl,--fatal-warnings>)
  endif()
endfunction()
# The compiled resources of marivane_resources are also linked by the start-up floor in bench/.
marivane_add_exe(Marivane marivane_resources ${MARIVANE_VERSION_DIR})
marivane_add_exe(Marivane_next marivane_resources_next ${MARIVANE_NEXT_VERSION_DIR})
set_target_properties(Marivane_next PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/next)
add_subdirectory(bench)

include(cmake/Help.cmake)
marivane_add_help(${CMAKE_BINARY_DIR})

# The native build that drives this one packs the release from its files.
option(MARIVANE_PACKED_BY_HOST "The native build packs the release from this build's files" OFF)
if(TARGET starter_store AND NOT MARIVANE_PACKED_BY_HOST)
  set(release_parts Marivane Marivane_next starter_store)
  if(TARGET help_chm)
    set(help_file ${CMAKE_BINARY_DIR}/${MARIVANE_HELP_TITLE}.chm)
    list(APPEND release_parts help_chm)
  endif()
  include(cmake/Release.cmake)
  marivane_add_release_targets(EXE $<TARGET_FILE:Marivane> NEXT_EXE $<TARGET_FILE:Marivane_next>
      STARTERS ${MARIVANE_STARTERS} HELP "${help_file}" DEPENDS ${release_parts})
endif()
