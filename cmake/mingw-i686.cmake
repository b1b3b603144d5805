# Cross build for 32-bit Windows (PE32) with MinGW-w64, POSIX thread model;
# the executables run under the 32-bit Wine where the machine allows.
set(TOOL_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
