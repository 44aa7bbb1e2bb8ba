# Puts the program's icon into a form description: the one empty "Icon.Data = { }" of FORM becomes
# the bytes of the icon file, in hexadecimal, 32 bytes a line.
# cmake -DFORM=... -DICON=... -DOUTPUT=... -P EmbedIcon.cmake
file(READ "${FORM}" text)
string(REGEX MATCHALL "[ ]*Icon\\.Data = {[ \t\r\n]*}" slots "${text}")
list(LENGTH slots count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "${FORM}: expected one empty \"Icon.Data = { }\", found ${count}")
endif()
string(REGEX MATCH "^[ ]*" indent "${slots}")

file(READ "${ICON}" hex HEX)
string(TOUPPER "${hex}" hex)
string(REPEAT "." 64 line)
string(REGEX REPLACE "(${line})" "\\1\n${indent}  " hex "${hex}")
string(REGEX REPLACE "[\n ]+$" "" hex "${hex}")
string(REPLACE "${slots}" "${indent}Icon.Data = {\n${indent}  ${hex}}" text "${text}")
file(WRITE "${OUTPUT}" "${text}")
