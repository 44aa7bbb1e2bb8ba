# Puts a packed skin into a form description: the one empty "SkinStream = { }" of FORM becomes the
# skin's byte count (32 bits, little-endian) and its bytes, in hexadecimal, 32 bytes a line.
# cmake -DFORM=... -DSKIN=... -DOUTPUT=... -P EmbedSkin.cmake
file(READ "${FORM}" text)
string(REGEX MATCHALL "[ ]*SkinStream = {[ \t\r\n]*}" slots "${text}")
list(LENGTH slots count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "${FORM}: expected one empty \"SkinStream = { }\", found ${count}")
endif()
string(REGEX MATCH "^[ ]*" indent "${slots}")

file(SIZE "${SKIN}" size)
math(EXPR size_hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
string(SUBSTRING "${size_hex}" 2 -1 digits)
string(LENGTH "${digits}" n)
while(n LESS 8)
  string(PREPEND digits "0")
  string(LENGTH "${digits}" n)
endwhile()
# Little-endian: the lowest byte first.
set(count_hex "")
foreach(i 6 4 2 0)
  string(SUBSTRING "${digits}" ${i} 2 byte)
  string(APPEND count_hex "${byte}")
endforeach()

file(READ "${SKIN}" skin_hex HEX)
string(TOUPPER "${count_hex}${skin_hex}" hex)
string(REPEAT "." 64 line)
string(REGEX REPLACE "(${line})" "\\1\n${indent}  " hex "${hex}")
string(REGEX REPLACE "[\n ]+$" "" hex "${hex}")
string(REPLACE "${slots}" "${indent}SkinStream = {\n${indent}  ${hex}}" text "${text}")
file(WRITE "${OUTPUT}" "${text}")
