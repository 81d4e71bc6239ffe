# Writes the text file IN into OUT as a C++ string constant NAME, byte by byte.
# cmake -DIN=... -DOUT=... -DNAME=... -P embed.cmake
file(READ ${IN} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE ${OUT} "// Generated from ${IN} by tools/atlas/embed.cmake.\nextern const char ${NAME}[];\nconst char ${NAME}[] = {${bytes}'\\0'};\n")
