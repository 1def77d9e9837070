# Run by cpack after the zip is made: SHA256SUMS beside it, as sha256sum -c reads it.
set(sums "")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  file(SHA256 "${package}" hash)
  get_filename_component(name "${package}" NAME)
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS" "${sums}")
