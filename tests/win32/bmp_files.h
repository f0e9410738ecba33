// Skin pictures of every kind the platform loads, and broken ones, written on the spot for the
// hostile-input tests.
#pragma once
#include <string>

#include "test_support.h"

struct BmpFormat {
  int bitCount;         // 1, 4, 8 (palette), 16 (5-5-5), 24 or 32
  bool rle8;            // 8-bit pictures only: BI_RLE8 compression
  bool topDown;         // rows stored top row first (negative height)
  unsigned char alpha;  // 32-bit pictures only: the fourth byte of every pixel
};

// The picture's bytes as a .bmp file. The palette of a 1-, 4- or 8-bit picture holds exactly
// the colours it uses (at most 2, 16 or 256).
std::string BmpBytes(const Picture& picture, const BmpFormat& format);
void WriteBmp(const std::string& path, const Picture& picture, const BmpFormat& format);
