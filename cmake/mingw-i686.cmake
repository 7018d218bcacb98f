# Cross build for 32-bit Windows with the MinGW-w64 compilers of Debian's
# g++-mingw-w64-i686 package:
#   cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
if(NOT DEFINED QUENRIX_MINGW_PREFIX) # set by mingw-x86_64.cmake
  set(CMAKE_SYSTEM_PROCESSOR i686)
  set(QUENRIX_MINGW_PREFIX i686-w64-mingw32)
endif()
# Debian ships a win32-threads and a posix-threads flavour; the models use no
# threads, and the win32 flavour needs no winpthread at all.
find_program(CMAKE_C_COMPILER NAMES ${QUENRIX_MINGW_PREFIX}-gcc-win32 ${QUENRIX_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QUENRIX_MINGW_PREFIX}-g++-win32 ${QUENRIX_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QUENRIX_MINGW_PREFIX}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${QUENRIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# SSE2 arithmetic instead of the x87 stack, so that every double is rounded
# as on x86-64 and both platforms compute the same numbers; the C99 printf
# family instead of the system one, so that numbers print alike (1e-13, not
# 1e-013).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -D__USE_MINGW_ANSI_STDIO=1")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -D__USE_MINGW_ANSI_STDIO=1")
# Everything each program or library needs from the compiler's runtime is
# linked in, so a DLL needs nothing beside itself but the system's DLLs.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The tests and benchmarks need GoogleTest and Google Benchmark, which have no
# MinGW build here; the Windows set is tested from the Linux build under Wine.
set(QUENRIX_TESTS OFF CACHE BOOL "" FORCE)
set(QUENRIX_BENCH OFF CACHE BOOL "" FORCE)
