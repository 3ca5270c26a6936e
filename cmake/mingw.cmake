# Cross-compiling for Windows with mingw-w64's posix-thread compilers; the
# including toolchain file sets WEDGE_MINGW_TRIPLE and the processor.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${WEDGE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WEDGE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${WEDGE_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${WEDGE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
