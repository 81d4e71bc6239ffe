# The layering check on small trees of its own: it passes a tree that keeps
# its table, and names file, line and rule for every kind of break.
#
#   cmake -DCHECK=<check_layering.cmake> -DWORK=<scratch folder> -P check_layering_test.cmake

cmake_minimum_required(VERSION 3.25)

set(failures 0)

function(put path text)
    file(WRITE ${WORK}/${path} "${text}")
endfunction()

# Runs the check on the scratch tree; output with runs of blanks and line ends as one blank.
function(check out_rc out_text)
    execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${WORK} -P ${CHECK}
        RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
    string(REGEX REPLACE "[ \t\n]+" " " text "${o}${e}")
    set(${out_rc} ${rc} PARENT_SCOPE)
    set(${out_text} "${text}" PARENT_SCOPE)
endfunction()

# Whether the last check passed (rc 0) or failed.
macro(expect_result what passed)
    if((rc EQUAL 0) AND NOT ${passed} OR NOT (rc EQUAL 0) AND ${passed})
        message(NOTICE "FAILED: ${what}: exit code ${rc}: ${text}")
        math(EXPR failures "${failures} + 1")
    endif()
endmacro()

macro(expect_output what pattern)
    string(FIND "${text}" "${pattern}" at)
    if(at EQUAL -1)
        message(NOTICE "FAILED: ${what}: no \"${pattern}\" in: ${text}")
        math(EXPR failures "${failures} + 1")
    endif()
endmacro()

set(table "# A tree

## Layers

| folder | what | may include |
|---|---|---|
| `top/` | the top | `mid/a/`, `mid/b/`, `low/` |
| `mid/a/`, `mid/b/` | one layer in two folders | `low/` |
| `low/` | the bottom | |

## Elsewhere

| `low/` | a table outside the section is not read | `top/` |
")

# A tree that keeps its table: down, within a row, the library, a file beside.
file(REMOVE_RECURSE ${WORK})
put(docs/architecture.md "${table}")
put(top/t.cpp "#include \"top/t.h\"\n\n#include <cstdint>\n#include \"mid/a/x.h\"\n#include \"low/l.h\"\n#include \"t2.h\"\n")
put(top/t.h "#pragma once\n")
put(mid/a/x.h "#pragma once\n#include \"mid/b/y.h\"\n#include \"low/l.h\"\n")
put(mid/b/y.h "#pragma once\n#include \"mid/a/x.h\"\n")
put(low/l.h "#pragma once\n// a [bracket]; and a semicolon\n#include <vector>\n")
put(low/deeper/d.h "#pragma once\n#include \"low/l.h\"\n")
check(rc text)
expect_result("a tree that keeps its table passes" TRUE)
expect_output("the count of files" "6 files of 3 layers")

# Every kind of break, each named with its file and line.
put(low/l.cpp "#include \"low/l.h\"\n\n#include \"top/t.h\"\n")
put(mid/b/z.cpp "// host\n#include \"sim/Host.h\"\n  #  include <QWidget>\n")
put(top/u.cpp "#include \"tools/gen.h\"\n")
put(mid/c/w.cpp "int w;\n")
check(rc text)
expect_result("breaks fail the check" FALSE)
expect_output("an upward include" "low/l.cpp:3: includes top/t.h: low/ may include only low/")
expect_output("a host header" "mid/b/z.cpp:2: includes sim/Host.h: no host or Qt header outside sim/")
expect_output("a Qt header, spaced" "mid/b/z.cpp:3: includes QWidget: no host or Qt header outside sim/")
expect_output("a folder outside the table" "top/u.cpp:1: includes tools/gen.h, which is in no folder of the layer table")
expect_output("a folder without a row" "mid/c/w.cpp: its folder has no row in the layer table")
expect_output("the count of breaks" "docs/architecture.md: 5")

# A table whose rows include each other: the cycle is named without the rows above it.
file(REMOVE_RECURSE ${WORK})
string(REPLACE "| `low/` | the bottom | |" "| `low/` | the bottom | `mid/b/` |" cyclic "${table}")
put(docs/architecture.md "${cyclic}")
put(low/l.h "#pragma once\n")
check(rc text)
expect_result("a cyclic table fails" FALSE)
expect_output("the rows of the cycle" "the layer table has a cycle among mid/a/ mid/b/ low/")

# A table that names a folder without a row, and no table at all.
file(REMOVE_RECURSE ${WORK})
string(REPLACE "| `low/` | the bottom | |" "| `low/` | the bottom | `lib/` |" unknown "${table}")
put(docs/architecture.md "${unknown}")
put(low/l.h "#pragma once\n")
check(rc text)
expect_output("an included folder without a row" "`lib/` may be included but has no row")
put(docs/architecture.md "# No layers here\n")
check(rc text)
expect_output("a missing table" "no layer table under \"## Layers\"")

file(REMOVE_RECURSE ${WORK})
if(failures GREATER 0)
    message(FATAL_ERROR "${failures} checks of the layering check failed")
endif()
message(STATUS "the layering check passes a sound tree and names every kind of break")
