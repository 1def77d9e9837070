// GoogleTest's main for the unit tests, with the strict verdict.
#include "tests/strict_run.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return pinvale::RunAllTestsStrictly();
}
