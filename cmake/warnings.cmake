# Warnings for our own code, shared by the native and the Windows build.
add_library(pinvale_warnings INTERFACE)
target_compile_options(pinvale_warnings INTERFACE
  -Wall -Wextra -Wpedantic
  -Wconversion -Wsign-conversion  # coordinates and text lengths change type often
  -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  $<$<BOOL:${PINVALE_WARNINGS_AS_ERRORS}>:-Werror>)
