# Puts a component's description into a form description: the one empty "object NAME: CLASS end"
# of FORM becomes the component file's object, indented to the place it takes.
# cmake -DFORM=... -DNAME=... -DCOMPONENT=... -DOUTPUT=... -P EmbedComponent.cmake
file(READ "${FORM}" text)
string(REGEX MATCHALL "[ ]*object ${NAME}: [A-Za-z0-9_]+[ \t\r]*\n[ ]*end[ \t\r]*\n" slots "${text}")
list(LENGTH slots count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "${FORM}: expected one empty \"object ${NAME}\", found ${count}")
endif()
string(REGEX MATCH "^[ ]*" indent "${slots}")

file(READ "${COMPONENT}" component)
string(REGEX REPLACE "[\r\n]+$" "" component "${component}")
string(REPLACE "\n" "\n${indent}" component "${component}")
string(REPLACE "${slots}" "${indent}${component}\n" text "${text}")
file(WRITE "${OUTPUT}" "${text}")
