# Builds the game's compiled HTML help, <MARIVANE_HELP_TITLE>.chm, from the
# sources in res/help, which name it and its title as @MARIVANE_HELP_TITLE@, with chmcmd (the CHM compiler of Free Pascal, Debian package
# fp-utils).  chmcmd runs on the build machine, also when the game itself is
# cross-compiled for Windows.
#
#   include(cmake/Help.cmake)
#   marivane_add_help(<output-dir>)
#
# adds the target "help_chm" (part of ALL; the plain name "help" is reserved
# by CMake for the generators' own "make help"), which places the .chm in
# <output-dir>, normally the folder of the game's executable, since the game
# opens the help file that lies beside it.  When chmcmd is missing, a warning
# says so, CHMCMD is false and no target is added: the game builds without its
# help file.

include_guard(GLOBAL)

# NO_CMAKE_FIND_ROOT_PATH: a Windows cross toolchain restricts program
# searches to its sysroot, but chmcmd is a tool of the build machine.
find_program(CHMCMD chmcmd NO_CMAKE_FIND_ROOT_PATH
    DOC "Free Pascal CHM compiler, used to build the help file")

# Captured here: inside the function CMAKE_CURRENT_LIST_DIR is the caller's.
get_filename_component(MARIVANE_HELP_SOURCE_DIR
    "${CMAKE_CURRENT_LIST_DIR}/../res/help" ABSOLUTE)

function(marivane_add_help OUTPUT_DIR)
  if(NOT CHMCMD)
    message(WARNING
        "chmcmd was not found (Debian: apt-get install fp-utils): "
        "the help file ${MARIVANE_HELP_TITLE}.chm will not be built.")
    return()
  endif()

  get_filename_component(out_dir "${OUTPUT_DIR}" ABSOLUTE
      BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  set(src "${MARIVANE_HELP_SOURCE_DIR}")
  set(project_file "help.hhp")
  set(chm_name "${MARIVANE_HELP_TITLE}.chm")
  if(NOT EXISTS "${src}/${project_file}")
    message(FATAL_ERROR "Help project ${src}/${project_file} is missing.")
  endif()

  # Everything the help project can draw in.  CONFIGURE_DEPENDS re-globs at
  # build time, so a page added later is picked up without re-running cmake
  # by hand.  check_help.py lives beside the sources but is not part of them.
  file(GLOB help_sources CONFIGURE_DEPENDS
      "${src}/*.hhp" "${src}/*.hhc" "${src}/*.hhk"
      "${src}/*.html" "${src}/*.htm" "${src}/*.css"
      "${src}/*.png" "${src}/*.gif" "${src}/*.jpg")
  list(SORT help_sources)

  # chmcmd writes the .chm into its working folder, and it reports failures
  # only on its output with exit status 0.  So it compiles a copy of the
  # sources in a staging folder of the build tree, where it may write
  # whatever it likes without touching the source tree, and the old .chm is
  # removed first: if chmcmd fails, the copy step that follows finds nothing
  # and fails the build instead of shipping a stale file.  Only the files in
  # the project's [FILES] list go into the .chm (--no-html-scan), so a page
  # left over in the staging folder from an earlier build does no harm.  The
  # copies of the text sources carry the help's title in place of
  # @MARIVANE_HELP_TITLE@; a source changed makes CMake copy it again.
  set(stage "${CMAKE_CURRENT_BINARY_DIR}/help-stage")
  set(staged "")
  foreach(source ${help_sources})
    get_filename_component(name "${source}" NAME)
    if(name MATCHES "\\.(png|gif|jpg)$")
      configure_file("${source}" "${stage}/${name}" COPYONLY)
    else()
      configure_file("${source}" "${stage}/${name}" @ONLY)
    endif()
    list(APPEND staged "${stage}/${name}")
  endforeach()
  add_custom_command(
      OUTPUT "${out_dir}/${chm_name}"
      COMMAND "${CMAKE_COMMAND}" -E rm -f "${stage}/${chm_name}"
      COMMAND "${CHMCMD}" --no-html-scan --verbosity 1 "${project_file}"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${out_dir}"
      COMMAND "${CMAKE_COMMAND}" -E copy "${stage}/${chm_name}" "${out_dir}/${chm_name}"
      WORKING_DIRECTORY "${stage}"
      DEPENDS ${staged}
      COMMENT "Compiling help file ${chm_name}"
      VERBATIM)
  add_custom_target(help_chm ALL DEPENDS "${out_dir}/${chm_name}"
      SOURCES ${help_sources})
endfunction()
