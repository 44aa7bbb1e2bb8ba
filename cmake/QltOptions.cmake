# Compiler options shared by every target of the project.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)
# GCC 12 warns falsely about overlapping copies in "literal" + std::u16string (its bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()

if(WIN32)
  # Unicode Win32 API, no min/max macros, Windows XP as the oldest target.
  add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501 WINVER=0x0501
                          _WIN32_IE=0x0600)
  # A self-contained .exe: no libgcc, libstdc++ or winpthread DLLs needed on the user's machine.
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
endif()
