# Warning flags shared by every target of the project.
add_library(kestrane_warnings INTERFACE)
target_compile_options(kestrane_warnings INTERFACE -Wall -Wextra)
if(KESTRANE_WERROR)
  target_compile_options(kestrane_warnings INTERFACE -Werror)
endif()
