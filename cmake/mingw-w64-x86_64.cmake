# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix
# thread variant: Qt needs std::thread and std::mutex from it).
#
# Libraries built for Windows (Qt, libjpeg) are found below
# VELLUMAR_WINDOWS_PREFIXES, a list of install prefixes given on the
# command line or in the environment; programs (moc, rcc, the host Qt's
# tools) are taken from this machine.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELLUMAR_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELLUMAR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELLUMAR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELLUMAR_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${VELLUMAR_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${VELLUMAR_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT VELLUMAR_WINDOWS_PREFIXES AND DEFINED ENV{VELLUMAR_WINDOWS_PREFIXES})
    set(VELLUMAR_WINDOWS_PREFIXES "$ENV{VELLUMAR_WINDOWS_PREFIXES}")
endif()
# try_compile projects read this file again: hand the prefixes on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELLUMAR_WINDOWS_PREFIXES)

set(CMAKE_FIND_ROOT_PATH /usr/${VELLUMAR_MINGW_TRIPLET} ${VELLUMAR_WINDOWS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
