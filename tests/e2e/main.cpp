// The end-to-end driver: GoogleTest cases that check the real Pinvale.exe,
// whose path is the first argument after GoogleTest's own.
#include <cstdio>

#include "tests/e2e/driver.h"
#include "tests/strict_run.h"

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %ls [gtest options] PATH-TO-Pinvale.exe\n", argv[0]);
    return 2;
  }
  pinvale::e2e::SetExecutablePath(argv[1]);
  return pinvale::RunAllTestsStrictly();
}
