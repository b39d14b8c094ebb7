set(TARNIX_TRIPLE x86_64-w64-mingw32)
set(TARNIX_PROCESSOR x86_64)
set(TARNIX_WINE /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
