# Settings every Windows target of the project shares.

# Unicode W APIs throughout; Windows 7 is the oldest system we claim to run on.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601)

# The C++ runtime and libgcc go inside the executable, so that it needs only
# the DLLs that Windows itself provides.
add_link_options(-static)

# Double arithmetic in SSE2 registers rounds each operation once, as the
# readout requires; x87 code at 64-bit precision would round twice.
add_compile_options(-msse2 -mfpmath=sse)

# Keep only what is used, and no symbols in release builds: the static C++
# runtime is most of the executable otherwise.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(LINKER:--gc-sections $<$<NOT:$<CONFIG:Debug>>:-s>)

# Stack canaries for functions with arrays or addresses taken; MinGW's
# libssp is linked statically with the rest (-static).
add_compile_options(-fstack-protector-strong)
add_link_options(-fstack-protector-strong)

# ASLR and DEP; binutils 2.40 does not set them for 32-bit PE by default.
add_link_options(LINKER:--dynamicbase LINKER:--nxcompat)

# Tests and the program run under Wine; each build tree has its own prefix.
set(PINVALE_WINE "${PROJECT_SOURCE_DIR}/cmake/wine-run.sh")
set(CMAKE_CROSSCOMPILING_EMULATOR "${PINVALE_WINE}")

# Reproducible: the PE header's time is the source's (binutils reads
# SOURCE_DATE_EPOCH), and no build folder reaches the executable.
include(${CMAKE_CURRENT_LIST_DIR}/source-date.cmake)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${PINVALE_SOURCE_DATE_EPOCH})
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
