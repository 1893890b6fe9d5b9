# Cross-compiles for 64-bit Windows with mingw-w64 (posix thread model, which
# provides std::thread and std::mutex). Used by scripts/cross-check.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TABULON_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TABULON_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TABULON_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TABULON_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TABULON_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and the thread library linked in: tabulon.exe
# needs no DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The tests of a cross build run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
