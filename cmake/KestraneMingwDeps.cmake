# Libraries the Windows build needs that Debian does not package for mingw:
# libpng, cross-built once from Debian's source package into
# KESTRANE_MINGW_PREFIXES (build/windows/deps with the windows preset) and
# kept there, so later configures find it at once.
set(KESTRANE_MINGW_PREFIXES "${CMAKE_BINARY_DIR}/deps" CACHE PATH
    "Prefixes of libraries cross-built for the Windows build")
list(GET KESTRANE_MINGW_PREFIXES 0 kestrane_deps_prefix)
if(NOT EXISTS "${kestrane_deps_prefix}/lib/libpng16.a")
  message(STATUS "Cross-building libpng into ${kestrane_deps_prefix}")
  execute_process(
    COMMAND bash "${PROJECT_SOURCE_DIR}/scripts/build-libpng-mingw.sh" "${kestrane_deps_prefix}"
    RESULT_VARIABLE kestrane_png_result)
  if(NOT kestrane_png_result EQUAL 0)
    message(FATAL_ERROR "libpng for mingw could not be built (scripts/build-libpng-mingw.sh)")
  endif()
endif()
list(APPEND CMAKE_PREFIX_PATH ${KESTRANE_MINGW_PREFIXES})
