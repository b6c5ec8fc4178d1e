# Shared part of the cross toolchains: Debian's MinGW-w64 compilers for the
# architecture that toolchain-<arch>.cmake sets in QV_MINGW_ARCH.
#
# The posix-thread flavour is needed: the win32-thread one has no std::mutex,
# which GoogleTest and the standard library's threading parts rely on.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QV_MINGW_ARCH})

set(QV_MINGW_TRIPLE ${QV_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER   ${QV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${QV_MINGW_TRIPLE}-windres)

# Look for Windows libraries and headers only in the MinGW sysroot, but run
# build-time programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
