# The macOS editor view (platform/mac) compiled and tested on Linux against
# GNUstep's AppKit. Objective-C++ is compiled by clang with the GCC runtime
# (GNUstep on Debian ships GCC's libobjc and no libobjc2); C and C++ stay
# with the project's compiler and link together with it.
#
# Sets KESTRANE_GNUSTEP_FOUND and the interface target kestrane_gnustep
# (compile flags for Objective-C++ files, GNUstep's libraries).
set(KESTRANE_GNUSTEP_FOUND OFF)
find_program(KESTRANE_GNUSTEP_CONFIG gnustep-config)
find_program(KESTRANE_CLANGXX clang++)
if(NOT KESTRANE_GNUSTEP_CONFIG OR NOT KESTRANE_CLANGXX)
  message(STATUS "GNUstep or clang++ not found: the macOS view is not built (scripts/setup.sh installs both)")
  return()
endif()

execute_process(COMMAND ${KESTRANE_GNUSTEP_CONFIG} --objc-flags OUTPUT_VARIABLE objc_flags OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${KESTRANE_GNUSTEP_CONFIG} --gui-libs OUTPUT_VARIABLE gui_libs OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND gcc -print-file-name=include OUTPUT_VARIABLE gcc_include OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(objc_flags UNIX_COMMAND "${objc_flags}")
separate_arguments(gui_libs UNIX_COMMAND "${gui_libs}")

# Keep GNUstep's definitions and code-generation switches; its include
# folders become system folders (their warnings are GNUstep's, not ours) and
# its -Wall, -g, -O2 and dependency flags give way to the build's own.
set(options "")
set(includes "")
foreach(flag IN LISTS objc_flags)
  if(flag MATCHES "^-I(.+)$")
    if(IS_DIRECTORY "${CMAKE_MATCH_1}" AND NOT CMAKE_MATCH_1 STREQUAL ".")
      list(APPEND includes "${CMAKE_MATCH_1}")
    endif()
  elseif(flag MATCHES "^-(D|f)" OR flag STREQUAL "-pthread")
    list(APPEND options "${flag}")
  endif()
endforeach()

set(CMAKE_OBJCXX_COMPILER ${KESTRANE_CLANGXX})
enable_language(OBJCXX)
set(CMAKE_OBJCXX_STANDARD 17)
set(CMAKE_OBJCXX_STANDARD_REQUIRED ON)
set(CMAKE_OBJCXX_EXTENSIONS OFF)

add_library(kestrane_gnustep INTERFACE)
target_compile_options(kestrane_gnustep INTERFACE
  "$<$<COMPILE_LANGUAGE:OBJCXX>:-fobjc-runtime=gcc;${options}>"
  # GCC's objc/*.h, after clang's own headers so they do not shadow them.
  "$<$<COMPILE_LANGUAGE:OBJCXX>:-idirafter;${gcc_include}>")
target_include_directories(kestrane_gnustep SYSTEM INTERFACE ${includes})
target_compile_definitions(kestrane_gnustep INTERFACE GNUSTEP)
target_link_libraries(kestrane_gnustep INTERFACE ${gui_libs})
set(KESTRANE_GNUSTEP_FOUND ON)
