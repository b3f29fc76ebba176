# 64-bit Windows programs from Debian's MinGW-w64 cross compiler (g++-mingw-w64-x86-64-posix),
# run under Wine. scripts/test-windows uses it as:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DVELKAR_MODEL_ONLY=ON
#         -DVELKAR_GTEST_SOURCE_DIR=/usr/src/googletest ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(velkar_triple x86_64-w64-mingw32)
# The POSIX thread model: the one whose C++ library has std::thread and std::mutex.
set(CMAKE_C_COMPILER ${velkar_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${velkar_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${velkar_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${velkar_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained executables: no libstdc++, libgcc or winpthread DLL to find at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# The same for zlib (libz-mingw-w64-dev): its libz.a, not the import library of a DLL.
set(ZLIB_USE_STATIC_LIBS ON)

# ctest and test discovery run the executables through Wine. Debian's wine64 package puts
# the loader in /usr/lib/wine; the wine package adds the wrappers in /usr/bin.
find_program(VELKAR_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(VELKAR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELKAR_WINE})
endif()
