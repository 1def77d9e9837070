# Run by cpack after the zip is made. First the zip is made the same for
# every builder: strip-nondeterminism drops what CMake's archive writer
# takes from the machine (the builder's user and group, permissions from the
# umask) and clamps every time to the source's. Then SHA256SUMS beside it,
# as sha256sum -c reads it.
find_program(strip_nondeterminism strip-nondeterminism)
if(NOT strip_nondeterminism)
  message(FATAL_ERROR "strip-nondeterminism is needed to make the release (Debian: strip-nondeterminism)")
endif()
set(sums "")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND ${strip_nondeterminism} --type zip --timestamp ${CPACK_PINVALE_SOURCE_DATE_EPOCH}
    ${package} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "strip-nondeterminism failed on ${package}")
  endif()
  file(SHA256 "${package}" hash)
  get_filename_component(name "${package}" NAME)
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS" "${sums}")
