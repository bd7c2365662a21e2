# Cross-building for 64-bit Windows with Debian's mingw-w64 compilers.
# The posix thread model is named explicitly: the default alternative is the
# win32 model, whose libstdc++ has no std::thread or std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KESTRANE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KESTRANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTRANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KESTRANE_MINGW_TRIPLE}-windres)

# Debian's mingw sysroot, plus the prefixes the project builds itself (libpng)
# given in KESTRANE_MINGW_PREFIXES as absolute, normalised paths: ONLY mode
# re-roots every search, and a path with ".." in it is not found.
set(CMAKE_FIND_ROOT_PATH /usr/${KESTRANE_MINGW_TRIPLE} ${KESTRANE_MINGW_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KESTRANE_MINGW_PREFIXES)

# Static zlib: the DLL must not need zlib1.dll beside it.
set(ZLIB_USE_STATIC_LIBS ON)
