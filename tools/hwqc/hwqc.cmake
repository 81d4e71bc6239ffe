# The factory tester of the hardware quality check (tools/hwqc): a program of
# its own that speaks the protocol over a serial line, as the factory does.
add_executable(panel-hwqc tools/hwqc/main.cpp tools/hwqc/Tester.cpp sim/headless/Words.cpp)
target_include_directories(panel-hwqc PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(panel-hwqc PRIVATE panel_warnings)
