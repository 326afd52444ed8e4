# The release, packed from a Windows build's files:
#   release        Marivane-<version>-win64.zip, whose one top folder
#                  "Marivane" holds Marivane.exe, the help, MVStarters.dat and
#                  README.txt, and Marivane-<version>-setup.exe (NSIS), which
#                  installs those same files, both in the build folder
#   release_next   the same pair for the next version (last number + 1) in
#                  next/, with an exe whose version record says so: what the
#                  upgrade tests install over the first; part of the default build
#   release_files  the zip's files, without the top folder, in release/
# The release carries no file the game writes (its puzzles, scores and
# configuration), so unpacking or installing one over another keeps them.
#
#   marivane_add_release_targets(EXE <exe> NEXT_EXE <exe> STARTERS <file>
#       HELP <file or ""> DEPENDS <targets that make them>)
# also sets MARIVANE_ZIP, MARIVANE_SETUP, MARIVANE_NEXT_ZIP and MARIVANE_NEXT_SETUP.
include_guard(GLOBAL)

find_program(MARIVANE_MAKENSIS makensis NO_CMAKE_FIND_ROOT_PATH)
marivane_need_tool(MARIVANE_MAKENSIS "makensis (the setup program; Debian: nsis)")
set(MARIVANE_ZIP ${CMAKE_BINARY_DIR}/Marivane-${PROJECT_VERSION}-win64.zip)
set(MARIVANE_SETUP ${CMAKE_BINARY_DIR}/Marivane-${PROJECT_VERSION}-setup.exe)
set(MARIVANE_NEXT_ZIP ${CMAKE_BINARY_DIR}/next/Marivane-${MARIVANE_NEXT_VERSION}-win64.zip)
set(MARIVANE_NEXT_SETUP ${CMAKE_BINARY_DIR}/next/Marivane-${MARIVANE_NEXT_VERSION}-setup.exe)
set(installer_script ${CMAKE_SOURCE_DIR}/res/installer/Marivane.nsi)

# The release's files of <version> in <out_dir>/parts: README.txt made for
# that version, and the names of all four for the setup program, which
# installs and removes exactly these. Sets <parts_var> and <list_var>.
function(marivane_release_parts out_dir version exe starters help parts_var list_var)
  set(MARIVANE_VERSION ${version})
  configure_file(${CMAKE_SOURCE_DIR}/res/README.txt ${out_dir}/parts/README.txt @ONLY NEWLINE_STYLE CRLF)
  set(parts ${exe} ${starters} ${help} ${out_dir}/parts/README.txt)
  set(entries "")
  foreach(part Marivane.exe ${starters} ${help} README.txt)
    get_filename_component(name ${part} NAME)
    string(APPEND entries "  !insertmacro \${ACTION} \"${name}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${out_dir}/parts/files.nsh CONTENT
      "; The program files, one macro call each: !insertmacro ProgramFiles <macro of one file name>\n!macro ProgramFiles ACTION\n${entries}!macroend\n" @ONLY)
  set(${parts_var} ${parts} PARENT_SCOPE)
  set(${list_var} ${out_dir}/parts/files.nsh PARENT_SCOPE)
endfunction()

# Target <target> (of the default build when <all> is ALL) packs <zip> and,
# with makensis, <setup> from the given parts.
function(marivane_add_release target all version zip setup exe starters help)
  get_filename_component(out_dir ${zip} DIRECTORY)
  marivane_release_parts(${out_dir} ${version} ${exe} ${starters} "${help}" parts file_list)
  set(stage ${out_dir}/stage)
  set(outputs ${zip})
  set(make_setup "")
  if(MARIVANE_MAKENSIS)
    list(APPEND outputs ${setup})
    set(make_setup COMMAND ${MARIVANE_MAKENSIS} -V2 -DVERSION=${version} -DFILES_DIR=${stage}/Marivane
        -DFILE_LIST=${file_list} -DOUTFILE=${setup} ${installer_script})
  endif()
  add_custom_command(OUTPUT ${outputs}
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${outputs}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/Marivane
      COMMAND ${CMAKE_COMMAND} -E copy ${parts} ${stage}/Marivane
      COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip Marivane
      ${make_setup}
      DEPENDS ${parts} ${file_list} ${installer_script}
      COMMENT "Packing Marivane ${version}: the zip and the setup program" VERBATIM)
  add_custom_target(${target} ${all} DEPENDS ${outputs})
  set(release_parts ${parts} PARENT_SCOPE)
endfunction()

function(marivane_add_release_targets)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "EXE;NEXT_EXE;STARTERS;HELP" "DEPENDS")
  marivane_add_release(release "" ${PROJECT_VERSION} ${MARIVANE_ZIP} ${MARIVANE_SETUP}
      ${arg_EXE} ${arg_STARTERS} "${arg_HELP}")
  add_custom_target(release_files
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/release
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/release
    COMMAND ${CMAKE_COMMAND} -E copy ${release_parts} ${CMAKE_BINARY_DIR}/release
    COMMENT "Filling release/ with the release zip's files" VERBATIM)
  marivane_add_release(release_next ALL ${MARIVANE_NEXT_VERSION} ${MARIVANE_NEXT_ZIP} ${MARIVANE_NEXT_SETUP}
      ${arg_NEXT_EXE} ${arg_STARTERS} "${arg_HELP}")
  foreach(target release release_files release_next)
    add_dependencies(${target} ${arg_DEPENDS})
  endforeach()
endfunction()
