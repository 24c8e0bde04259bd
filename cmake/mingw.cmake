# Shared part of the MinGW-w64 cross toolchains: Debian's compilers for the
# triple that the including toolchain file names; test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
# std::thread and std::mutex need the POSIX threading flavour of the compiler.
set(CMAKE_C_COMPILER ${TESSAFOLD_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSAFOLD_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSAFOLD_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TESSAFOLD_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# wine-run.sh picks the Wine for the program's architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
