// What the skin kit does with pixels, without Windows headers: turning a picture with an alpha
// channel into colour-keyed pixels, measuring a skin's pixels as the accessory will use them, and
// laying out the 24-bit BMP file that a converted skin is saved as.
// Pixel values are 0x00RRGGBB, as in the accessory's 32-bit working copy.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "shape/pixel_runs.h"
#include "skinkit/skin_limits.h"

const uint32_t kSkinKey = SKIN_KEY_COLOUR;   // exact magenta: cut out of the window
const uint32_t kNudgedMagenta = 0x00FF00FE;  // (255, 0, 254): looks the same, is not cut

struct KeyCounts {
  size_t cut;     // pixels that became kSkinKey because of their alpha
  size_t nudged;  // kept exact-magenta pixels moved to kNudgedMagenta
};

// Maps count pixels of straight (not premultiplied) BGRA, 4 bytes each, to pixel values in out,
// which may be the same memory as bgra: alpha below alphaThreshold gives kSkinKey, and a kept
// pixel that is exactly magenta gives kNudgedMagenta so that it stays. The alpha alone says what
// is cut: PrepareSkinPixels first gives what else is transparent (an opaque picture's magenta, a
// plain background) alpha 0.
KeyCounts KeyPixels(const uint8_t* bgra, size_t count, int alphaThreshold, uint32_t* out);

// 1 if the pixel is close enough to magenta to be an anti-aliasing fringe: not the key, and not
// kNudgedMagenta, the kit's own mark of a magenta pixel kept on purpose.
int IsNearMagenta(uint32_t pixel);

struct SkinPixelFacts {
  size_t runs;                   // runs of the accessory's scan: what its shape is united from
  size_t cutPixels;              // pixels equal to kSkinKey
  int titleRowsCut;              // 1 if the rows that overlap the title bar are all cut
  size_t fringePixels;           // near-magenta pixels, which are not cut
  int fringeShown;               // how many of them fringeX/fringeY name
  int fringeX[kFringeExamples];  // the first ones in reading order (top row first, then left
  int fringeY[kFringeExamples];  // to right), counted from the top-left pixel
  int plainBackground;           // what a drop would make transparent (WouldKeyBackground;
                                 // not measured here)
  uint32_t background;           // that colour
};

// Measures width * height pixel values stored bottom row first, as the accessory's working copy
// holds them (the unused fourth byte already cleared). The rows that overlap the title bar are
// the lowest kTitleOverlap (all rows of a shorter picture).
void MeasureSkinPixels(const uint32_t* pixels, int width, int height, SkinPixelFacts* facts);

// The size of a 24-bit bottom-up BMP file of width x height pixels (both at most
// kMaxPictureSide).
size_t Bmp24FileSize(int width, int height);

// Lays out that file in out (Bmp24FileSize bytes) from pixel values stored top row first. Rows go
// into the file bottom row first, each padded to a whole number of 4 bytes.
void WriteBmp24(const uint32_t* pixels, int width, int height, uint8_t* out);
