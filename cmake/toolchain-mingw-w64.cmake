# Cross build for Windows with Debian's mingw-w64, shared by the two
# toolchain files, which set QUILLBAY_MINGW_PREFIX and the processor first.
# The posix-thread compilers; the programs link their run-time statically,
# so no mingw DLL has to travel with the .exe files.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${QUILLBAY_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLBAY_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${QUILLBAY_MINGW_PREFIX}-windres)

# Headers and libraries come from the cross sysroot only; programs (cmake's
# own helpers) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${QUILLBAY_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
