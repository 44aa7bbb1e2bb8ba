# Helpers of the build scripts that put binary data into form descriptions (included by
# forms/EmbedIcon.cmake, forms/EmbedGlyphs.cmake and skin/EmbedSkin.cmake).

# Little-endian hexadecimal of a 32-bit value: 8 digits, the lowest byte first.
function(form_le32 value out)
  math(EXPR hex "${value}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${hex}" 2 -1 digits)
  string(LENGTH "${digits}" n)
  while(n LESS 8)
    string(PREPEND digits "0")
    string(LENGTH "${digits}" n)
  endwhile()
  set(bytes "")
  foreach(i 6 4 2 0)
    string(SUBSTRING "${digits}" ${i} 2 byte)
    string(APPEND bytes "${byte}")
  endforeach()
  set(${out} "${bytes}" PARENT_SCOPE)
endfunction()

# "NAME = {" and the hexadecimal digits HEX (upper case), 32 bytes a line indented below NAME, and
# the closing brace at the end of the last line.
function(form_binary_property name hex indent out)
  string(TOUPPER "${hex}" hex)
  string(REPEAT "." 64 line)
  string(REGEX REPLACE "(${line})" "\\1\n${indent}  " hex "${hex}")
  string(REGEX REPLACE "[\n ]+$" "" hex "${hex}")
  set(${out} "${indent}${name} = {\n${indent}  ${hex}}" PARENT_SCOPE)
endfunction()

# The one match of REGEX in TEXT, into OUT, and its leading blanks, into OUT_INDENT; none or
# several is an error of the build ("FORM_FILE: expected one WHAT").
function(form_single_slot text regex what form_file out out_indent)
  string(REGEX MATCHALL "${regex}" slots "${text}")
  list(LENGTH slots count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "${form_file}: expected one ${what}, found ${count}")
  endif()
  string(REGEX MATCH "^[ ]*" indent "${slots}")
  set(${out} "${slots}" PARENT_SCOPE)
  set(${out_indent} "${indent}" PARENT_SCOPE)
endfunction()

# Fills the one empty "NAME = { }" of a form description in the variable TEXT_VAR with HEX; a
# description with none or several is an error of the build.
function(form_fill_single_slot text_var name hex form_file)
  string(REPLACE "." "\\." pattern "${name}")
  form_single_slot("${${text_var}}" "[ ]*${pattern} = {[ \t\r\n]*}" "empty \"${name} = { }\"" "${form_file}"
                   slots indent)
  form_binary_property("${name}" "${hex}" "${indent}" filled)
  string(REPLACE "${slots}" "${filled}" text "${${text_var}}")
  set(${text_var} "${text}" PARENT_SCOPE)
endfunction()
