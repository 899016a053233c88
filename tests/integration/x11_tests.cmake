# The native plug-in's editor in X11 on the project's Xvfb display (started
# on demand by wine-env.sh), driven by the native korvex-host with pointer
# input through XTEST: the same scenarios and expectations as the DLL's under
# Wine, plus display scale 2 from the desktop's Xft.dpi. Not under the
# sanitizers: Xlib's own allocations are not ours to judge.
if(KORVEX_SANITIZE)
  return()
endif()
foreach(scenario screenshot scale2 resize pointer about)
  set(golden ${GOLDEN_DIR}/editor-364x538.png)
  if(scenario STREQUAL "scale2")
    set(golden ${GOLDEN_DIR}/editor-728x1076.png)
  endif()
  add_test(NAME x11.editor_${scenario}
           COMMAND ${EDITOR_TEST} ${scenario} $<TARGET_FILE:korvex-host> $<TARGET_FILE:korvex52>
                   ${WINE_ENV} $<TARGET_FILE:png_check> ${CMAKE_CURRENT_BINARY_DIR}/x11-${scenario} ${golden})
  set_tests_properties(x11.editor_${scenario} PROPERTIES RESOURCE_LOCK x_display TIMEOUT 120)
endforeach()

# The validation battery with its editor checks required, as the DLL's under Wine.
add_test(NAME x11.validate
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/validate_test.sh $<TARGET_FILE:korvex52> 5
                 ${WINE_ENV} display $<TARGET_FILE:korvex-host> -- --require-editor)
set_tests_properties(x11.validate PROPERTIES RESOURCE_LOCK x_display TIMEOUT 120)

# The editor as a Linux DAW holds it: opened and closed a hundred times in
# one window with the X resources counted, and two instances at once.
find_package(X11 REQUIRED)
add_executable(editor_x11_tests x11/editor_x11_test.cpp)
target_include_directories(editor_x11_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(editor_x11_tests PRIVATE KORVEX_PLUGIN_SO="$<TARGET_FILE:korvex52>")
target_link_libraries(editor_x11_tests PRIVATE korvex_golden X11::X11 X11::XRes GTest::gtest_main dl)
add_dependencies(editor_x11_tests korvex52)
korvex_add_x11_test(x11.editor_cycles_and_instances editor_x11_tests)
set_tests_properties(x11.editor_cycles_and_instances PROPERTIES TIMEOUT 120)
