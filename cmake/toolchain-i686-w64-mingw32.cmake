# Cross build for 32-bit Windows: the build that ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUILLBAY_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-w64.cmake)
