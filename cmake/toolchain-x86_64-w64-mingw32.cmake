# Cross build for 64-bit Windows: the build whose programs run under Wine
# here.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUILLBAY_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-w64.cmake)
