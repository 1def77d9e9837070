# The release for Windows users (cmake --build --preset mingw-x86 --target
# package): Pinvale-<version>-win32.zip with the executable and the user's
# guide in Chinese and English, and SHA256SUMS beside it.
set(guide_dir ${PROJECT_BINARY_DIR}/generated/guide)
foreach(language zh-CN en)
  # Windows line ends, for Notepad on older systems.
  configure_file(${PROJECT_SOURCE_DIR}/resources/guide/README.${language}.txt.in
    ${guide_dir}/README.${language}.txt @ONLY NEWLINE_STYLE CRLF)
endforeach()
install(TARGETS Pinvale RUNTIME DESTINATION .)
install(FILES ${guide_dir}/README.zh-CN.txt ${guide_dir}/README.en.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Pinvale)
set(CPACK_PACKAGE_VENDOR Pinvale)
set(CPACK_PACKAGE_VERSION ${PINVALE_VERSION_TEXT})
set(CPACK_PACKAGE_FILE_NAME Pinvale-${PINVALE_VERSION_TEXT}-win32)
set(CPACK_PINVALE_SOURCE_DATE_EPOCH ${PINVALE_SOURCE_DATE_EPOCH})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package-time.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package-checksums.cmake)
include(CPack)
