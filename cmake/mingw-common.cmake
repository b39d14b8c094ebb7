# Shared part of the two MinGW-w64 toolchain files. The including file sets
# TARNIX_TRIPLE and TARNIX_WINE before including this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TARNIX_PROCESSOR})

set(CMAKE_C_COMPILER   ${TARNIX_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNIX_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${TARNIX_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARNIX_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Wine loader that runs programs of this target; the build wraps it in its
# own private prefix (see tools/wine-run.in).
set(TARNIX_WINE_LOADER ${TARNIX_WINE})
