# Tests that run under Wine, with the ctest fixtures that give them a private
# X server and a Wine prefix per display scale (scripts/ctest/wine-session.sh),
# so that `ctest --preset NAME`, `-R`, `-L` and `--rerun-failed` work by
# themselves. Test programs run through scripts/ctest/wine-run.sh, which puts
# them on the session's display and in the prefix of their scale.

set(VEXO_WINE_SESSION "${CMAKE_BINARY_DIR}/wine-session")
# 100 %, 150 % and 200 %; a Windows session has one scale, so each its prefix.
set(VEXO_DISPLAY_SCALES 96 144 192)
set(VEXO_DEFAULT_SCALE 96)

# Wine.display and Wine.prefix<DPI> set the session up; Wine.stop ends it
# after the last test that needed it.
function(vexo_add_wine_fixtures)
  set(script ${CMAKE_SOURCE_DIR}/scripts/ctest/wine-session.sh)
  # The 32-bit build needs a prefix, and a kernel, that run 32-bit programs.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(bits 32)
  endif()
  add_test(NAME Wine.display COMMAND ${script} start-display ${VEXO_WINE_SESSION})
  set_tests_properties(Wine.display PROPERTIES FIXTURES_SETUP wine.display RUN_SERIAL TRUE LABELS fixture)
  set(prefixes)
  foreach(dpi IN LISTS VEXO_DISPLAY_SCALES)
    add_test(NAME Wine.prefix${dpi} COMMAND ${script} make-prefix ${VEXO_WINE_SESSION} ${dpi} ${bits})
    set_tests_properties(Wine.prefix${dpi} PROPERTIES FIXTURES_SETUP wine.dpi${dpi} FIXTURES_REQUIRED wine.display
                                                     RUN_SERIAL TRUE TIMEOUT 300 LABELS fixture)
    list(APPEND prefixes wine.dpi${dpi})
  endforeach()
  add_test(NAME Wine.stop COMMAND ${script} stop ${VEXO_WINE_SESSION})
  set_tests_properties(Wine.stop PROPERTIES FIXTURES_CLEANUP "wine.display;${prefixes}" RUN_SERIAL TRUE
                                            LABELS fixture)
endfunction()

# The target's tests run under Wine in the session.
function(vexo_run_under_wine target)
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
                        "${CMAKE_SOURCE_DIR}/scripts/ctest/wine-run.sh;${CMAKE_CROSSCOMPILING_EMULATOR}")
endfunction()

# Gives tests their fixtures, their scale and code page, and their labels.
# They share the desktop's cursor and key state, so they run one at a time.
#   vexo_wine_test_properties(TESTS ... DPI 96 LOCALE ko_KR.UTF-8 CODE_PAGE 949 LABELS wine ...)
function(vexo_wine_test_properties)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "DPI;LOCALE;CODE_PAGE" "TESTS;LABELS")
  if(NOT arg_TESTS)
    return()
  endif()
  set_tests_properties(${arg_TESTS} PROPERTIES
    RUN_SERIAL TRUE TIMEOUT 180 LABELS "${arg_LABELS}"
    FIXTURES_REQUIRED "wine.display;wine.dpi${arg_DPI}"
    ENVIRONMENT "VEXO_WINE_SESSION=${VEXO_WINE_SESSION};VEXO_DPI=${arg_DPI};VEXO_EXPECTED_DPI=${arg_DPI};LC_ALL=${arg_LOCALE};VEXO_CODE_PAGE=${arg_CODE_PAGE}")
endfunction()

# Registers gtest tests of a target once more, named with a suffix, each
# filtered to itself; the names of the new tests go to OUT.
function(vexo_add_test_variants target suffix out)
  set(added)
  foreach(test IN LISTS ARGN)
    add_test(NAME ${test}${suffix} COMMAND ${target} --gtest_filter=${test})
    list(APPEND added ${test}${suffix})
  endforeach()
  set(${out} ${added} PARENT_SCOPE)
endfunction()
