# The screen atlas: every screen state in every language (tools/atlas), the
# table of state paths it shares with the screens fuzzer, and its checks.
add_library(atlas_lib STATIC tools/atlas/Paths.cpp tools/atlas/States.cpp tools/atlas/Walk.cpp)
target_include_directories(atlas_lib PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/tools/atlas)
target_link_libraries(atlas_lib PUBLIC simhost PRIVATE panel_warnings)

# The tool's own pieces. An executable that links them sees the texts the
# screens fetch and draw from outside the panel: these calls go through
# tools/atlas/Capture.cpp (listed by their C++ linker names); objects, not
# an archive, so that the wrappers are always linked.
add_library(atlas_tool_lib OBJECT tools/atlas/Atlas.cpp tools/atlas/Capture.cpp tools/atlas/Html.cpp
                                  tools/atlas/Picture.cpp tools/textfit/Fit.cpp)
target_include_directories(atlas_tool_lib PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/tools/textfit)
target_link_libraries(atlas_tool_lib PUBLIC atlas_lib flashgen_lib PNG::PNG PRIVATE panel_warnings)
set(ATLAS_WRAPPED _Z11TXT_GetTextt _Z12TXT_CopyTexttPct _Z13GUI_TextInBoxPKcPK7GUI_BOXi
    _Z14GUI_TextInBoxNPKcPK7GUI_BOXii _Z20GUI_TextInBoxWrappedPKcPK7GUI_BOXii _Z15GUI_EraseScreenv
    _Z12GUI_EraseBoxPK7GUI_BOX _Z13GUI_EraseAreaiiii)
list(TRANSFORM ATLAS_WRAPPED PREPEND "--wrap=")
list(JOIN ATLAS_WRAPPED "," ATLAS_WRAP_OPTIONS)
target_link_options(atlas_tool_lib INTERFACE "LINKER:${ATLAS_WRAP_OPTIONS}")

add_executable(panel-atlas tools/atlas/atlas.cpp)
target_compile_definitions(panel-atlas PRIVATE PANEL_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
target_link_libraries(panel-atlas PRIVATE atlas_tool_lib panel_warnings)

if(TARGET panel_tests)
    find_package(GTest REQUIRED)
    include(GoogleTest)
    add_executable(atlas_tests tests/atlas_test.cpp tests/fuzz/HostileFlash.cpp)
    target_include_directories(atlas_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
    target_compile_definitions(atlas_tests PRIVATE PANEL_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
                                                   PANEL_ATLAS="$<TARGET_FILE:panel-atlas>")
    target_link_libraries(atlas_tests PRIVATE atlas_tool_lib GTest::gtest GTest::gtest_main panel_warnings)
    add_dependencies(atlas_tests panel-atlas)
    gtest_discover_tests(atlas_tests DISCOVERY_MODE PRE_TEST)

    # A new screen state joins the atlas (and the screens fuzzer) by its path.
    add_test(NAME atlas.every_state_has_a_path COMMAND panel-atlas --coverage)
    # Every path reaches its state in every language.
    add_test(NAME atlas.paths_reach_their_states COMMAND panel-atlas --check)
endif()
