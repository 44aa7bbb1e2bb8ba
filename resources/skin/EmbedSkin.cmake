# Puts a packed skin into a form description: the one empty "SkinStream = { }" of FORM becomes the
# skin's byte count (32 bits, little-endian) and its bytes, in hexadecimal, 32 bytes a line.
# cmake -DFORM=... -DSKIN=... -DOUTPUT=... -P EmbedSkin.cmake
include("${CMAKE_CURRENT_LIST_DIR}/../FormData.cmake")
file(READ "${FORM}" text)
file(SIZE "${SKIN}" size)
form_le32(${size} count_hex)
file(READ "${SKIN}" skin_hex HEX)
form_fill_single_slot(text "SkinStream" "${count_hex}${skin_hex}" "${FORM}")
file(WRITE "${OUTPUT}" "${text}")
