// Test pictures without Windows headers: described pixel by pixel, encoded as .bmp bytes of any
// depth, bottom-up or top-down, and RLE8. Used by the native, the Win32 tests and the benchmarks;
// tests/win32/test_pictures.h adds the bitmaps in memory and the expected shape on top.
// One palette rule for all encodings: the colours a picture uses, in order of first use.
#pragma once
#include <stdint.h>

#include <functional>
#include <string>

#include "shape/pixel_runs.h"

// A pixel colour as 0x00RRGGBB, the value the shape builder compares.
typedef uint32_t Rgb;
const Rgb kMagenta = 0x00FF00FF;  // pure magenta, written here: the tests judge the program by it

// A picture described pixel by pixel, top row first.
struct Picture {
  int width;
  int height;
  std::function<Rgb(int x, int y)> colour;
};

struct BmpFormat {
  int bitCount;         // 1, 4, 8 (palette), 16 (5-5-5), 24 or 32
  bool rle8;            // 8-bit pictures only: BI_RLE8 compression
  bool topDown;         // rows stored top row first (negative height)
  unsigned char alpha;  // 32-bit pictures only: the fourth byte of every pixel
};
const BmpFormat kBmp24 = {24, false, false, 0};
const BmpFormat kBmp8 = {8, false, false, 0};

// The fields of a .bmp file's two headers (the 14-byte file header and the 40-byte info header)
// that pictures differ in; the rest is fixed (one plane, no resolution).
struct BmpHeaderFields {
  int32_t width;
  int32_t height;  // negative: top-down
  int bitCount;
  uint32_t compression;  // 0: none, 1: RLE8
  uint32_t pixelOffset;  // where the pixels start
  uint32_t fileSize;
  uint32_t imageSize;    // biSizeImage
  uint32_t coloursUsed;  // biClrUsed
};
const uint32_t kBmpHeadersSize = 54;

// The two headers as bytes, whatever the fields say (tests give them impossible values too).
std::string BmpHeaders(const BmpHeaderFields& fields);

// The picture's bytes as a .bmp file. The palette of a 1-, 4- or 8-bit picture holds exactly
// the colours it uses (at most 2, 16 or 256).
std::string BmpBytes(const Picture& picture, const BmpFormat& format = kBmp24);

// Pictures several tests share.
Picture Solid(int width, int height, Rgb colour);
// Magenta and one colour alternating pixel by pixel: every run is one pixel long.
Picture Checkerboard(int width, int height);
// Irregular runs of many colours, magenta among them (a pseudo-random pattern).
Picture Speckled(int width, int height, int colours);
