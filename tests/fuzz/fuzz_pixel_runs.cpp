// Fuzzes the pixel-run scan against a plain reference: for every row, the maximal stretches of
// pixels that are not exactly the transparent value, reported bottom row first, left to right.
// The pixels sit in a buffer of exactly width x height values, so a read past it is caught.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdint.h>
#include <stdlib.h>

#include <vector>

#include "shape/pixel_runs.h"

namespace {

const uint32_t kMagenta = SKIN_KEY_COLOUR;

void Collect(void* context, const PixelRun& run) {
  static_cast<std::vector<PixelRun>*>(context)->push_back(run);
}

// The runs as a person would find them: walk each row of the picture, top row last in storage.
std::vector<PixelRun> ReferenceRuns(const std::vector<uint32_t>& pixels, int width, int height,
                                    uint32_t transparent) {
  std::vector<PixelRun> runs;
  for (int stored = 0; stored < height; ++stored) {
    int y = height - 1 - stored;
    bool inRun = false;
    for (int x = 0; x <= width; ++x) {
      bool opaque = x < width && pixels[static_cast<size_t>(stored) * width + x] != transparent;
      if (opaque && !inRun) {
        runs.push_back({y, x, 0});
        inRun = true;
      } else if (!opaque && inRun) {
        runs.back().x1 = x;
        inRun = false;
      }
    }
  }
  return runs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  int width = input.ConsumeIntegralInRange<int>(0, 48);
  int height = input.ConsumeIntegralInRange<int>(0, 48);
  // Mostly magenta against colours that differ from it in one bit or only in the top byte.
  const uint32_t palette[] = {kMagenta, 0x00102030, 0xFFFF00FF, 0x00FF00FE, 0x01FF00FF, 0};
  uint32_t transparent = input.ConsumeBool() ? kMagenta : input.ConsumeIntegral<uint32_t>();
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (uint32_t& pixel : pixels) {
    uint8_t pick = input.ConsumeIntegral<uint8_t>();
    pixel = pick < 6 * 40 ? palette[pick % 6] : transparent;
  }

  uint32_t* exact = static_cast<uint32_t*>(malloc(pixels.size() * sizeof(uint32_t) + 1));
  for (size_t i = 0; i < pixels.size(); ++i) exact[i] = pixels[i];
  std::vector<PixelRun> runs;
  size_t count = ScanPixelRuns(exact, width, height, transparent, Collect, &runs);
  free(exact);

  std::vector<PixelRun> expected = ReferenceRuns(pixels, width, height, transparent);
  if (count != runs.size() || runs.size() != expected.size()) abort();
  for (size_t i = 0; i < runs.size(); ++i) {
    if (runs[i].y != expected[i].y || runs[i].x0 != expected[i].x0 || runs[i].x1 != expected[i].x1)
      abort();
  }
  return 0;
}
