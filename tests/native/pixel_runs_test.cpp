// The pixel-run scan: the runs a picture's shape is built from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shape/pixel_runs.h"

namespace {

const uint32_t M = 0x00FF00FF;  // pure magenta
const uint32_t K = 0x00102030;  // any other colour

std::vector<PixelRun> Scan(const std::vector<uint32_t>& pixels, int width, int height) {
  std::vector<PixelRun> runs;
  size_t count = ScanPixelRuns(
      pixels.data(), width, height, M,
      [](void* context, const PixelRun& run) {
        static_cast<std::vector<PixelRun>*>(context)->push_back(run);
      },
      &runs);
  EXPECT_EQ(count, runs.size());
  return runs;
}

std::string Describe(const std::vector<PixelRun>& runs) {
  std::string text;
  for (const PixelRun& run : runs) {
    text += "(" + std::to_string(run.y) + "," + std::to_string(run.x0) + "," +
            std::to_string(run.x1) + ")";
  }
  return text;
}

}  // namespace

struct ScanCase {
  const char* what;
  int width;
  int height;
  std::vector<uint32_t> pixels;  // in storage order: bottom row first
  const char* runs;              // (y,x0,x1) in storage order
};

TEST(ScanPixelRuns, FindsExactlyTheNonTransparentRuns) {
  const ScanCase cases[] = {
      {"no magenta: one run per row, bottom row first", 3, 2, {K, K, K, K, K, K},
       "(1,0,3)(0,0,3)"},
      {"all magenta: no runs", 2, 2, {M, M, M, M}, ""},
      {"last column alone ends at the width", 4, 1, {M, M, M, K}, "(0,3,4)"},
      {"one magenta pixel splits a row in two", 5, 1, {K, K, M, K, K}, "(0,0,2)(0,3,5)"},
      {"bottom row stored first lands at y = H-1", 2, 3, {K, M, M, M, M, K},
       "(2,0,1)(0,1,2)"},
      {"runs never cross rows", 2, 2, {M, K, K, M}, "(1,1,2)(0,0,1)"},
      {"checkerboard", 4, 2, {K, M, K, M, M, K, M, K}, "(1,0,1)(1,2,3)(0,1,2)(0,3,4)"},
      {"only exact magenta is cut", 3, 1, {0x00FF00FE, M, 0xFFFF00FF}, "(0,0,1)(0,2,3)"},
      {"empty picture", 0, 0, {}, ""},
  };
  for (const ScanCase& c : cases) {
    EXPECT_EQ(c.runs, Describe(Scan(c.pixels, c.width, c.height))) << c.what;
  }
}
