# Icons: constant picture data generated from assets/icons by tools/icongen.
target_sources(panel PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/gui/generated/GUI_Icons.cpp)

if(TARGET panel_tests)
    target_sources(panel_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests/gui_icons_test.cpp)

    # The generated data, the sheet and the declarations must follow the art,
    # and the converter must refuse flawed art.
    find_package(Python3 COMPONENTS Interpreter)
    if(Python3_Interpreter_FOUND)
        add_test(NAME gui.IconsMatchArt
            COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/tools/icongen/icongen.py --check)
        add_test(NAME gui.IconGenRejectsBadArt
            COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/tools/icongen/icongen.py --self-test)
    else()
        message(STATUS "Python 3 not found: the icon data are not checked against the art")
    endif()
endif()
