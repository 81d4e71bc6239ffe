# Tests of the desktop host (included from sim/desktop/CMakeLists.txt).
set(DESKTOP_TESTS ${PROJECT_SOURCE_DIR}/tests/desktop)

add_executable(desktop_tests ${DESKTOP_TESTS}/desktop_test.cpp ${PROJECT_SOURCE_DIR}/tests/support/GifRead.cpp)
target_include_directories(desktop_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
set_target_properties(desktop_tests PROPERTIES AUTOMOC ON ENABLE_EXPORTS ON)
target_compile_definitions(desktop_tests PRIVATE PANEL_ASSETS_DIR="${PROJECT_SOURCE_DIR}/assets")
target_link_libraries(desktop_tests PRIVATE simdesktop_qt Qt6::Test panel_warnings)
add_test(NAME desktop.host COMMAND desktop_tests)
set_tests_properties(desktop.host PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)

# The real window under a virtual X display, clicked with the mouse.
add_executable(desktop_e2e_tests ${DESKTOP_TESTS}/desktop_e2e_test.cpp)
set_target_properties(desktop_e2e_tests PROPERTIES AUTOMOC ON)
target_compile_definitions(desktop_e2e_tests PRIVATE
    PANEL_ASSETS_DIR="${PROJECT_SOURCE_DIR}/assets"
    PANEL_SIM="$<TARGET_FILE:panel-sim>"
    PANEL_LSAN_SUPPRESSIONS="${DESKTOP_TESTS}/lsan.supp")
target_link_libraries(desktop_e2e_tests PRIVATE simdesktop Qt6::Test panel_warnings)
add_test(NAME desktop.xvfb_click COMMAND desktop_e2e_tests)
set_tests_properties(desktop.xvfb_click PROPERTIES TIMEOUT 120 SKIP_REGULAR_EXPRESSION "SKIP   :")

# panel-lcdmap takes its milliseconds whole and in range, or refuses them.
add_test(NAME desktop.lcdmap_refuses_garbage_milliseconds
    COMMAND sh -c "for v in abc 12x 99999999999999999999 -5 ''; do out=$($<TARGET_FILE:panel-lcdmap> --wait-change \"$v\" 2>&1); s=$?; test $s -eq 2 && echo \"$out\" | grep -q 'takes milliseconds from 0 to 86400000' || { echo \"'$v': status $s: $out\"; exit 1; }; done")

# The factory tester reaches the panel through the window's test serial port.
add_test(NAME desktop.hwqc_pty
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/hwqc/desktop_check.sh $<TARGET_FILE:panel-sim> $<TARGET_FILE:panel-hwqc>
            ${CMAKE_CURRENT_BINARY_DIR}/hwqc-desktop)
set_tests_properties(desktop.hwqc_pty PROPERTIES LABELS hwqc TIMEOUT 120)
