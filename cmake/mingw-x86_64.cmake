set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TEMPIRO_TRIPLET x86_64-w64-mingw32)
set(TEMPIRO_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
