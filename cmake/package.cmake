# The release for Windows users (cmake --build --preset mingw-x86 --target
# package): Pinvale-<version>-win32.zip with the executable, the user's guide
# in Chinese and English, the licence and the third-party notices, and
# SHA256SUMS beside it.
set(guide_dir ${PROJECT_BINARY_DIR}/generated/guide)
foreach(language zh-CN en)
  # Windows line ends, for Notepad on older systems.
  configure_file(${PROJECT_SOURCE_DIR}/resources/guide/README.${language}.txt.in
    ${guide_dir}/README.${language}.txt @ONLY NEWLINE_STYLE CRLF)
endforeach()
# The licence and the notices that the statically linked runtimes ask for,
# as .txt with Windows line ends, so that a double click opens them.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${guide_dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt ${guide_dir}/THIRD-PARTY-NOTICES.txt
  @ONLY NEWLINE_STYLE CRLF)
install(TARGETS Pinvale RUNTIME DESTINATION .)
install(FILES ${guide_dir}/README.zh-CN.txt ${guide_dir}/README.en.txt ${guide_dir}/LICENSE.txt
  ${guide_dir}/THIRD-PARTY-NOTICES.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Pinvale)
set(CPACK_PACKAGE_VENDOR Pinvale)
set(CPACK_PACKAGE_VERSION ${PINVALE_VERSION_TEXT})
set(CPACK_PACKAGE_FILE_NAME Pinvale-${PINVALE_VERSION_TEXT}-win32)
set(CPACK_PINVALE_SOURCE_DATE_EPOCH ${PINVALE_SOURCE_DATE_EPOCH})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package-time.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package-checksums.cmake)
include(CPack)
