# Compiler settings for our own code, shared by the native and the Windows build.
add_library(pinvale_warnings INTERFACE)
target_compile_options(pinvale_warnings INTERFACE
  -Wall -Wextra -Wpedantic
  -Wconversion -Wsign-conversion  # coordinates and text lengths change type often
  -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  $<$<BOOL:${PINVALE_WARNINGS_AS_ERRORS}>:-Werror>)

# The program's own code throws nothing and asks no type at run time. Built
# without both, the executable leaves out the C++ runtime's exception
# machinery (unwinder, demangler, string classes), which would otherwise be
# most of its code. Nothing unwinds through it either, so the Windows
# program carries no unwind tables; natively they cost nothing that matters
# and give debuggers and sanitizers' reports the frames to walk.
add_library(pinvale_no_exceptions INTERFACE)
target_compile_options(pinvale_no_exceptions INTERFACE -fno-exceptions -fno-rtti)
if(WIN32)
  target_compile_options(pinvale_no_exceptions INTERFACE -fno-asynchronous-unwind-tables -fno-unwind-tables)
endif()
