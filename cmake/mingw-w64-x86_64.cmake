# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, for std::thread
# and std::mutex). Everything is linked statically: copying the .exe files is enough.
#
# The libraries built for MinGW by scripts/dependencias-windows are found through
# PONTAVIA_MINGW_PREFIX (a cache variable or the environment). Programs built here run
# through Wine, with a Wine prefix of the build folder's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_AR ${_triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${_triple}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT PONTAVIA_MINGW_PREFIX AND DEFINED ENV{PONTAVIA_MINGW_PREFIX})
    set(PONTAVIA_MINGW_PREFIX $ENV{PONTAVIA_MINGW_PREFIX})
endif()
set(PONTAVIA_MINGW_PREFIX "${PONTAVIA_MINGW_PREFIX}"
    CACHE PATH "Where scripts/dependencias-windows installed the MinGW libraries")
# try_compile projects see the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PONTAVIA_MINGW_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple} ${PONTAVIA_MINGW_PREFIX})
set(CMAKE_PREFIX_PATH ${PONTAVIA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static C and C++ runtimes and winpthreads: no DLL beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and test discovery run the programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/../scripts/con-wine;${CMAKE_BINARY_DIR}/wine")
