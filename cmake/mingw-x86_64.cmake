# Cross build for 64-bit Windows with Debian's g++-mingw-w64-x86-64: the same
# sources as the 32-bit deliverables, for running their tests under 64-bit
# Wine on machines that cannot start 32-bit programs.
set(QUENRIX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
