# Cross-compiles the Windows deliverables with MinGW-w64 (posix threads) for 64-bit Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The shipped files must run on a bare Windows: no MinGW runtime DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows-side tests run under Wine inside the namespace test segment.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/testseg/wine-run)
