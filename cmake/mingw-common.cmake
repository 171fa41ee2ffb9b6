# Shared by the two MinGW-w64 toolchain files; TEMPIRO_TRIPLET and TEMPIRO_WINE_LOADER are set first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${TEMPIRO_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TEMPIRO_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${TEMPIRO_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TEMPIRO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Windows programs built here run under Wine, in the project's own prefix (see scripts/wine-exec).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec;${TEMPIRO_WINE_LOADER}")
