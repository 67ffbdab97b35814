# Compiler warnings every Quorvel target is built with.
add_library(quorvel_warnings INTERFACE)
target_compile_options(quorvel_warnings INTERFACE -Wall -Wextra)
if(QUORVEL_WARNINGS_AS_ERRORS)
  target_compile_options(quorvel_warnings INTERFACE -Werror)
endif()
