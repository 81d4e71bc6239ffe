# Texts and data flash. tools/flashgen turns the catalogues in assets/po into
# the built-in German table and the delivered data-flash image (as C++ for
# the panel and as dataflash.bin for --flash), in the build directory, at
# every build in which a catalogue changed.
add_library(flashgen_lib STATIC tools/flashgen/Po.cpp tools/flashgen/Texts.cpp)
target_include_directories(flashgen_lib PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/tools/flashgen ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(flashgen_lib PRIVATE panel_warnings)
add_executable(flashgen tools/flashgen/main.cpp)
target_link_libraries(flashgen PRIVATE flashgen_lib panel_warnings)

file(GLOB PANEL_CATALOGUES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/assets/po/*.po)
set(PANEL_TEXT_GEN ${CMAKE_CURRENT_BINARY_DIR}/generated/data)
set(PANEL_DATAFLASH ${CMAKE_CURRENT_BINARY_DIR}/dataflash.bin)
add_custom_command(
    OUTPUT ${PANEL_TEXT_GEN}/TXT_German.cpp ${PANEL_TEXT_GEN}/FLS_DefaultImage.cpp ${PANEL_DATAFLASH}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PANEL_TEXT_GEN}
    COMMAND flashgen --po ${CMAKE_CURRENT_SOURCE_DIR}/assets/po
            --german ${PANEL_TEXT_GEN}/TXT_German.cpp
            --image-cpp ${PANEL_TEXT_GEN}/FLS_DefaultImage.cpp
            --image-bin ${PANEL_DATAFLASH}
    DEPENDS flashgen ${PANEL_CATALOGUES}
    COMMENT "Texts and data-flash image from assets/po"
    VERBATIM)

target_sources(panel PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/data/FLS.cpp
    ${PANEL_TEXT_GEN}/TXT_German.cpp
    ${PANEL_TEXT_GEN}/FLS_DefaultImage.cpp
)

if(TARGET panel_tests)
    target_sources(panel_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests/data_txt_test.cpp)
    target_link_libraries(panel_tests PRIVATE flashgen_lib)
    target_compile_definitions(panel_tests PRIVATE PANEL_DATAFLASH_BIN="${PANEL_DATAFLASH}")

    # Every translation keeps German's key pictograms and adds no format characters.
    add_test(NAME data.catalogues_keep_pictograms_and_formats
        COMMAND flashgen --check ${CMAKE_CURRENT_SOURCE_DIR}/assets/po)

    # Unreadable catalogues (links in a loop or to nothing, FIFOs, folders)
    # are errors with file and reason; a byte-order mark is accepted.
    add_test(NAME data.flashgen_hostile_folders
        COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/tests/flashgen_test.sh $<TARGET_FILE:flashgen>
                ${CMAKE_CURRENT_SOURCE_DIR}/assets/po)

    # --flash: the delivered image as a file runs like the built-in one; a
    # missing file is refused with status 2.
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/tests/lock/flash_file)
    add_test(NAME data.headless_flash_file
        COMMAND panel-headless --flash ${PANEL_DATAFLASH} --lock-dir ${CMAKE_CURRENT_BINARY_DIR}/tests/lock/flash_file
                ${CMAKE_CURRENT_SOURCE_DIR}/tests/scenarios/reset_screen.scn)
    add_test(NAME data.headless_flash_file_missing
        COMMAND sh -c "out=$($<TARGET_FILE:panel-headless> --flash /nonexistent/flash.bin x.scn 2>&1); s=$?; echo \"$out\"; test $s -eq 2 && echo \"$out\" | grep -q \"cannot read the data-flash image '/nonexistent/flash.bin'\"")
endif()

# Every text fits where it is drawn, in every language, with the real fonts.
add_executable(textfit tools/textfit/textfit.cpp tools/textfit/Fit.cpp gui/GUI_Font.cpp gui/generated/GUI_Font8.cpp
                       gui/generated/GUI_Font20.cpp gui/generated/GUI_Font32.cpp)
target_link_libraries(textfit PRIVATE flashgen_lib panel_warnings)
if(TARGET panel_tests)
    add_test(NAME data.texts_fit_their_places
        COMMAND textfit --po ${CMAKE_CURRENT_SOURCE_DIR}/assets/po --places ${CMAKE_CURRENT_SOURCE_DIR}/tools/textfit/places.txt)
    add_test(NAME data.textfit_known_cases
        COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/tests/textfit_test.sh $<TARGET_FILE:textfit>
                ${CMAKE_CURRENT_SOURCE_DIR}/assets/po ${CMAKE_CURRENT_SOURCE_DIR}/tools/textfit/places.txt)
endif()
