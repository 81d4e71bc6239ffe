# Fails when a source file of ours deviates from .clang-format.
# Generated data and the build trees are not ours to format.
find_program(CLANG_FORMAT NAMES clang-format-14 clang-format REQUIRED)
set(files "")
foreach(dir core hal gui data comm screens sim tools tests bench)
    file(GLOB_RECURSE found ${ROOT}/${dir}/*.h ${ROOT}/${dir}/*.cpp)
    list(APPEND files ${found})
endforeach()
list(FILTER files EXCLUDE REGEX "/generated/")
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
    WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE rc ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Not formatted (run: clang-format -i on these files):\n${out}")
endif()
list(LENGTH files n)
message(STATUS "${n} files formatted")
