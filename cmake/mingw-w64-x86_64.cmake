# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads, so
# std::thread and std::mutex work). Used for Qt and for Zelmar alike.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZELMAR_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZELMAR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELMAR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELMAR_MINGW_TRIPLET}-windres)

# Headers and libraries come from the mingw tree (and whatever prefixes the
# caller adds, such as the Windows Qt); build tools come from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${ZELMAR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
