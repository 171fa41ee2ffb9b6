set(CMAKE_SYSTEM_PROCESSOR i686)
set(TEMPIRO_TRIPLET i686-w64-mingw32)
set(TEMPIRO_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
