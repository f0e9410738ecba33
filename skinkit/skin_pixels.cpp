// Colour keying, pixel measurements and the 24-bit BMP layout of the skin kit.
#include "skinkit/skin_pixels.h"

#include <string.h>

#include "base/follow.h"
#include "shape/pixel_runs.h"

KeyCounts KeyPixels(const uint8_t* bgra, size_t count, int alphaThreshold, uint32_t* out) {
  KeyCounts counts = {0, 0};
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = bgra + 4 * i;
    int alpha = p[3];
    uint32_t colour = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    // Pixel i is read whole before its value is written, so out may overlay bgra.
    if (alpha < alphaThreshold) {
      colour = kSkinKey;
      ++counts.cut;
    } else if (colour == kSkinKey) {
      colour = kNudgedMagenta;
      ++counts.nudged;
    }
    memcpy(out + i, &colour, sizeof colour);
  }
  return counts;
}

int IsNearMagenta(uint32_t pixel) {
  int red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
  return pixel != kSkinKey && pixel != kNudgedMagenta && red >= 255 - kFringeTolerance &&
         blue >= 255 - kFringeTolerance && green <= kFringeTolerance;
}

static void IgnoreRun(void*, const PixelRun&) {}

void MeasureSkinPixels(const uint32_t* pixels, int width, int height, SkinPixelFacts* facts) {
  memset(facts, 0, sizeof *facts);
  facts->runs = ScanPixelRuns(pixels, width, height, kSkinKey, IgnoreRun, NULL);
  // The bottom rows are stored first. The accessory sits with its lowest kTitleOverlap rows on
  // the title bar: with nothing drawn there it hangs in the air above the window.
  int titleRows = height < kTitleOverlap ? height : kTitleOverlap;
  facts->titleRowsCut = width > 0 && height > 0;
  for (size_t i = 0; i < size_t(titleRows) * size_t(width); ++i) {
    if (pixels[i] != kSkinKey) facts->titleRowsCut = 0;
  }
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = pixels + size_t(height - 1 - y) * size_t(width);
    for (int x = 0; x < width; ++x) {
      if (row[x] == kSkinKey) {
        ++facts->cutPixels;
      } else if (IsNearMagenta(row[x])) {
        if (facts->fringeShown < kFringeExamples) {
          facts->fringeX[facts->fringeShown] = x;
          facts->fringeY[facts->fringeShown] = y;
          ++facts->fringeShown;
        }
        ++facts->fringePixels;
      }
    }
  }
}

enum { kBmpHeadersSize = 14 + 40 };

static size_t Bmp24Stride(int width) { return (size_t(width) * 3 + 3) / 4 * 4; }

size_t Bmp24FileSize(int width, int height) {
  return kBmpHeadersSize + Bmp24Stride(width) * size_t(height);
}

static uint8_t* Put16(uint8_t* out, uint32_t value) {
  out[0] = value & 0xFF;
  out[1] = (value >> 8) & 0xFF;
  return out + 2;
}

static uint8_t* Put32(uint8_t* out, uint32_t value) {
  return Put16(Put16(out, value & 0xFFFF), value >> 16);
}

void WriteBmp24(const uint32_t* pixels, int width, int height, uint8_t* out) {
  size_t stride = Bmp24Stride(width);
  uint8_t* p = out;
  // The file header: "BM", file size, two reserved words, where the pixels start.
  *p++ = 'B';
  *p++ = 'M';
  p = Put32(p, uint32_t(Bmp24FileSize(width, height)));
  p = Put32(p, 0);
  p = Put32(p, kBmpHeadersSize);
  // The info header: its size, width, height (positive: bottom row first), planes, bits,
  // compression (none), pixel bytes, resolution x and y, palette colours used and important.
  p = Put32(p, 40);
  p = Put32(p, uint32_t(width));
  p = Put32(p, uint32_t(height));
  p = Put16(p, 1);
  p = Put16(p, 24);
  p = Put32(p, 0);
  p = Put32(p, uint32_t(stride * size_t(height)));
  for (int field = 0; field < 4; ++field) p = Put32(p, 0);
  for (int stored = 0; stored < height; ++stored) {
    const uint32_t* row = pixels + size_t(height - 1 - stored) * size_t(width);
    uint8_t* line = out + kBmpHeadersSize + size_t(stored) * stride;
    memset(line, 0, stride);
    for (int x = 0; x < width; ++x) {
      line[3 * x] = row[x] & 0xFF;
      line[3 * x + 1] = (row[x] >> 8) & 0xFF;
      line[3 * x + 2] = (row[x] >> 16) & 0xFF;
    }
  }
}
