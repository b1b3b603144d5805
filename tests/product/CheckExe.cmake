# Checks one built vexo.exe from outside, without running it: the expected
# kind of Windows program, importing only DLLs that Windows always takes from
# its system folder (the MinGW runtime is linked in statically) and none of
# the functions it looks up at run time, with address space layout
# randomisation and data execution prevention, carrying its version in Korean
# and English, and a manifest that requests no execution level and
# per-monitor display scale, in at most 200 KB.
#   cmake -DEXE=... -DFORMAT=pei-i386 -DVERSION=1.5.0 -DOBJDUMP=... -DWINDRES=... -P CheckExe.cmake
cmake_policy(VERSION 3.20)

# The DLLs the program imports, each a known DLL on every Windows from 7 SP1
# to 11 (the values of HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs,
# which the loader maps from the system folder whatever lies beside the
# program). A new import is added here once it is known to be one of those.
set(ALLOWED_IMPORTS advapi32 gdi32 kernel32 msvcrt ole32 shell32 user32)
# The functions the program looks up at run time, read from the one list of them.
file(READ "${CMAKE_CURRENT_LIST_DIR}/../../src/common/DynamicCalls.h" list)
string(REGEX MATCHALL "\n *CALL\\([A-Za-z0-9_]+," rows "${list}")
list(TRANSFORM rows REPLACE "^\n *CALL\\(([A-Za-z0-9_]+),$" "\\1" OUTPUT_VARIABLE LOOKED_UP)

if(NOT EXISTS "${EXE}")
  message(FATAL_ERROR "${EXE} does not exist: build it first")
endif()

# A small single file is part of what the program promises: 200 KB at most.
file(SIZE "${EXE}" bytes)
if(bytes GREATER 204800)
  message(FATAL_ERROR "${EXE} is ${bytes} bytes, more than 200 KB")
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${EXE}" OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(status OR NOT dump MATCHES "file format ${FORMAT}\n")
  message(FATAL_ERROR "${EXE} is not of the format ${FORMAT}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "${EXE}: no imported DLL found (objdump output not understood)")
endif()
foreach(entry IN LISTS imports)
  string(REGEX REPLACE "^DLL Name: *" "" dll "${entry}")
  string(TOLOWER "${dll}" dll)
  string(REGEX REPLACE "\\.dll$" "" dll "${dll}")
  if(NOT dll IN_LIST ALLOWED_IMPORTS)
    list(APPEND foreign "${dll}")
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "${EXE} imports DLLs that Windows may take from the program's folder: ${foreign}")
endif()

# What is looked up at run time is never imported as well: Windows 7 SP1
# lacks the newer functions and would refuse to start the program, and the
# others' DLLs are no known DLLs.
if(NOT LOOKED_UP)
  message(FATAL_ERROR "no run-time lookups found in src/common/DynamicCalls.h (its rows not understood)")
endif()
foreach(function IN LISTS LOOKED_UP)
  if(dump MATCHES "[ \t]${function}\n")
    message(FATAL_ERROR "${EXE} imports ${function}, which it looks up at run time")
  endif()
endforeach()

# Loaded at a random address with relocations to make it so, its data never
# executed: DYNAMIC_BASE (0x40) and NX_COMPAT (0x100) set, relocations neither
# stripped (file characteristic 0x1) nor empty.
string(REGEX MATCH "\nDllCharacteristics\t+([0-9a-fA-F]+)" found "${dump}")
math(EXPR dllCharacteristics "0x${CMAKE_MATCH_1} + 0")
string(REGEX MATCH "\nCharacteristics 0x([0-9a-fA-F]+)" found "${dump}")
math(EXPR fileCharacteristics "0x${CMAKE_MATCH_1} + 0")
string(REGEX MATCH "Entry 5 [0-9a-fA-F]+ ([0-9a-fA-F]+) Base Relocation Directory" found "${dump}")
math(EXPR relocationBytes "0x${CMAKE_MATCH_1} + 0")
math(EXPR aslrAndDep "${dllCharacteristics} & 0x140")
math(EXPR stripped "${fileCharacteristics} & 0x1")
if(NOT aslrAndDep EQUAL 320 OR stripped OR relocationBytes EQUAL 0)
  message(FATAL_ERROR "${EXE}: no DYNAMIC_BASE and NX_COMPAT, or no relocations "
                      "(DllCharacteristics ${dllCharacteristics}, characteristics ${fileCharacteristics}, "
                      "${relocationBytes} bytes of relocations)")
endif()

# windres writes the resources back as a resource script.
execute_process(COMMAND "${WINDRES}" -J coff -O rc -i "${EXE}" OUTPUT_VARIABLE resources RESULT_VARIABLE status)
if(status)
  message(FATAL_ERROR "${WINDRES} cannot read the resources of ${EXE}")
endif()
string(REPLACE "." ", " numbers "${VERSION}")
string(REGEX MATCHALL "VALUE \"FileVersion\", \"${VERSION}\"" versionTexts "${resources}")
list(LENGTH versionTexts versionTextCount)
if(NOT resources MATCHES "FILEVERSION ${numbers}, 0\n"
   OR NOT resources MATCHES "BLOCK \"041204b0\"" OR NOT resources MATCHES "BLOCK \"040904b0\""
   OR NOT versionTextCount EQUAL 2
   OR NOT resources MATCHES "VALUE \"Translation\", 0x412, 1200, 0x409, 1200")
  message(FATAL_ERROR "${EXE} lacks the version resource of ${VERSION} in Korean and English")
endif()

if(NOT resources MATCHES "RT_MANIFEST" OR NOT resources MATCHES "Microsoft\\.Windows\\.Common-Controls"
   OR resources MATCHES "<requestedExecutionLevel")
  message(FATAL_ERROR "${EXE}: the manifest is missing or requests an execution level")
endif()

# Per Monitor v2 where Windows knows it (10 1703 and later), system
# awareness where it knows only the older elements.
if(NOT resources MATCHES "<dpiAwareness [^>]*>PerMonitorV2, System</dpiAwareness>"
   OR NOT resources MATCHES "<dpiAware [^>]*>true</dpiAware>")
  message(FATAL_ERROR "${EXE}: the manifest does not ask for Per Monitor v2 with system awareness elsewhere")
endif()

# The program icon: an image per size Windows asks for from 100 % to 200 %,
# and 256 pixels for the shell, all 32-bit; the 256 one PNG-compressed.
foreach(size IN ITEMS 020 024 030 040 050 060 100 000) # octal: 16 20 24 32 40 48 64 256 (as 0)
  if(NOT resources MATCHES "\"\\\\${size}\\\\${size}\\\\000\\\\000\", 1, 32, 0x[0-9a-f]+L, ([0-9]+)")
    message(FATAL_ERROR "${EXE}: the program icon has no 32-bit image of octal size ${size}")
  endif()
endforeach()
if(NOT resources MATCHES "\n${CMAKE_MATCH_1} 3 /\\* RT_ICON \\*/\nBEGIN\n +0x474e5089L")
  message(FATAL_ERROR "${EXE}: the program icon's 256-pixel image is not PNG-compressed")
endif()

list(TRANSFORM imports REPLACE "^DLL Name: *" "")
message(STATUS "${EXE}: ${FORMAT}, ${bytes} bytes, version ${VERSION}, imports ${imports}, looks up ${LOOKED_UP}, "
               "ASLR and DEP with ${relocationBytes} bytes of relocations")
