// The Win32 tests' entry point: output unbuffered, so a run killed by its time limit still tells
// how far it got, and the watch over modal windows running for every test.
#include <gtest/gtest.h>
#include <stdio.h>

#include "test_support.h"

int main(int argc, char** argv) {
  setvbuf(stdout, NULL, _IONBF, 0);
  testing::InitGoogleTest(&argc, argv);
  StartModalWatch();
  return RUN_ALL_TESTS();
}
