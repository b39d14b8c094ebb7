set(TARNIX_TRIPLE i686-w64-mingw32)
set(TARNIX_PROCESSOR i686)
set(TARNIX_WINE /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
