# Checks one built vexo.exe from outside, without running it: the expected
# kind of Windows program, importing only DLLs every Windows has (the MinGW
# runtime is linked in statically) and nothing Windows 7 lacks, carrying its
# version in Korean and English, and a manifest that requests no execution
# level, in at most 200 KB.
#   cmake -DEXE=... -DFORMAT=pei-i386 -DVERSION=1.5.0 -DOBJDUMP=... -DWINDRES=... -P CheckExe.cmake

set(SYSTEM_DLLS_REGEX "^(kernel32|user32|gdi32|shell32|comctl32|advapi32|comdlg32|ole32|oleaut32|shlwapi|uxtheme|imm32|winmm|version|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\\.dll$")

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
  if(NOT dll MATCHES "${SYSTEM_DLLS_REGEX}")
    list(APPEND foreign "${dll}")
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "${EXE} imports DLLs that are not part of Windows: ${foreign}")
endif()

# The finer timer resolution comes from winmm, which every Windows has; the
# power-throttling opt-out is looked up at run time, never imported, since
# Windows 7 lacks it and would refuse to start the program.
string(REGEX MATCH "DLL Name: [Ww][Ii][Nn][Mm][Mm]\\.[Dd][Ll][Ll]\n[^\n]*\n(\t[^\n]*\n)*" winmm "${dump}")
if(NOT winmm MATCHES "timeBeginPeriod" OR NOT winmm MATCHES "timeEndPeriod" OR dump MATCHES "SetProcessInformation")
  message(FATAL_ERROR "${EXE}: winmm's timeBeginPeriod and timeEndPeriod not imported, or SetProcessInformation imported")
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
message(STATUS "${EXE}: ${FORMAT}, ${bytes} bytes, version ${VERSION}, imports ${imports}")
