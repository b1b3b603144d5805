# The second compiler: clang and lld for 32-bit Windows (PE32), on the same
# MinGW-w64 headers, import libraries and libstdc++ as the GCC build, so that
# the same sources are read by another front end. Its programs are checked
# and tested, never shipped. Resources still go through GNU windres.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOL_PREFIX i686-w64-mingw32)
# C too: GoogleTest's project enables it.
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${TOOL_PREFIX})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${TOOL_PREFIX})
set(CMAKE_RC_COMPILER ${TOOL_PREFIX}-windres)
set(CMAKE_OBJDUMP ${TOOL_PREFIX}-objdump CACHE FILEPATH "objdump that reads PE files")
# Debian's clang finds the MinGW-w64 headers and libraries, but neither GCC's
# libstdc++ (its folder is named 12-posix, not a plain version) nor, without a
# sysroot, keeps the host's /usr/include out of the search.
set(CMAKE_SYSROOT /usr/${TOOL_PREFIX})
set(VEXO_MINGW_GCC_DIR /usr/lib/gcc/${TOOL_PREFIX}/12-posix CACHE PATH "GCC's folder of libstdc++ and libgcc")
set(CMAKE_CXX_FLAGS_INIT "-stdlib++-isystem ${VEXO_MINGW_GCC_DIR}/include/c++ -stdlib++-isystem ${VEXO_MINGW_GCC_DIR}/include/c++/${TOOL_PREFIX} -stdlib++-isystem ${VEXO_MINGW_GCC_DIR}/include/c++/backward")
foreach(kind EXE SHARED MODULE)
  # -lpthread as GCC adds it for its POSIX thread model: libstdc++ and
  # libgcc_eh lock with it.
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -L${VEXO_MINGW_GCC_DIR} -lpthread")
endforeach()
set(CMAKE_FIND_ROOT_PATH /usr/${TOOL_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
