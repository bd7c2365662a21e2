# kestrane_embed_files(<target> DIR <folder> FUNCTION <name> [PATTERN <glob>] [DEPENDS <files>...])
# Compiles the files of a folder into <target> as data, reachable through the
# generated `EmbeddedFileSet <name>()`. The folder is read when the build
# runs; files added later are picked up at the next configure (the glob is
# re-checked on every build), and DEPENDS names files produced during the build.
function(kestrane_embed_files target)
  cmake_parse_arguments(ARG "" "DIR;FUNCTION;PATTERN" "DEPENDS" ${ARGN})
  if(NOT ARG_PATTERN)
    set(ARG_PATTERN "*.png")
  endif()
  file(GLOB present CONFIGURE_DEPENDS "${ARG_DIR}/${ARG_PATTERN}")
  set(output "${CMAKE_CURRENT_BINARY_DIR}/${ARG_FUNCTION}.cpp")
  set(script "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/EmbedFilesScript.cmake")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" "-DDIR=${ARG_DIR}" "-DPATTERN=${ARG_PATTERN}"
            "-DOUTPUT=${output}" "-DFUNCTION=${ARG_FUNCTION}" -P "${script}"
    DEPENDS ${present} ${ARG_DEPENDS} "${script}"
    COMMENT "Embedding ${ARG_DIR}/${ARG_PATTERN} as ${ARG_FUNCTION}()"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
