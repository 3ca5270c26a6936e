# The warnings every target of the project is built with.
add_library(wedge_warnings INTERFACE)
target_compile_options(wedge_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
  -Wnon-virtual-dtor -Wcast-align -Wnull-dereference)
if(WEDGE_WARNINGS_AS_ERRORS)
  target_compile_options(wedge_warnings INTERFACE -Werror)
endif()
