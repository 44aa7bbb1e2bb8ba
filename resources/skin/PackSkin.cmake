# Packs the generator's folder with the skin kit, entries in the order of pack-order.txt.
# cmake -DSKINKIT=... -DFOLDER=... -DOUTPUT=... -P PackSkin.cmake
file(STRINGS "${FOLDER}/pack-order.txt" names)
execute_process(COMMAND "${SKINKIT}" pack "${FOLDER}" "${OUTPUT}" ${names} RESULT_VARIABLE result
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT err STREQUAL "")
  # The kit's warnings (an image key naming no entry) are errors for the skin QLT ships.
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "skinkit pack failed:\n${out}${err}")
endif()
