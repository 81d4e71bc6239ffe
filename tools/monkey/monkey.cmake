# The seeded monkey (tools/monkey): random input on the whole panel in virtual time.
add_library(monkey STATIC
    tools/monkey/Monkey.cpp
    tools/monkey/Script.cpp
    tools/monkey/Watch.cpp
)
target_link_libraries(monkey PUBLIC simhost PRIVATE panel_warnings)

add_executable(panel-monkey tools/monkey/main.cpp)
target_link_libraries(panel-monkey PRIVATE monkey panel_warnings)
