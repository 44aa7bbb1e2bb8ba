# Puts the program's icon into a form description: the one empty "Icon.Data = { }" of FORM becomes
# the bytes of the icon file, in hexadecimal, 32 bytes a line.
# cmake -DFORM=... -DICON=... -DOUTPUT=... -P EmbedIcon.cmake
include("${CMAKE_CURRENT_LIST_DIR}/../FormData.cmake")
file(READ "${FORM}" text)
file(READ "${ICON}" hex HEX)
form_fill_single_slot(text "Icon.Data" "${hex}" "${FORM}")
file(WRITE "${OUTPUT}" "${text}")
