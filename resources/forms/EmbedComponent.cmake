# Puts a component's description into a form description: the one empty "object NAME: CLASS end"
# of FORM becomes the component file's object, indented to the place it takes.
# cmake -DFORM=... -DNAME=... -DCOMPONENT=... -DOUTPUT=... -P EmbedComponent.cmake
include("${CMAKE_CURRENT_LIST_DIR}/../FormData.cmake")

file(READ "${FORM}" text)
form_single_slot("${text}" "[ ]*object ${NAME}: [A-Za-z0-9_]+[ \t\r]*\n[ ]*end[ \t\r]*\n" "empty \"object ${NAME}\""
                 "${FORM}" slots indent)

file(READ "${COMPONENT}" component)
string(REGEX REPLACE "[\r\n]+$" "" component "${component}")
string(REPLACE "\n" "\n${indent}" component "${component}")
string(REPLACE "${slots}" "${indent}${component}\n" text "${text}")
file(WRITE "${OUTPUT}" "${text}")
