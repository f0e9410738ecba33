// Reads what a skin's BMP file says about itself before the platform is asked to load it, so that
// a broken or absurd file is turned away with a reason instead of being handed on.
// Plain C++ without Windows headers.
#pragma once
#include <stddef.h>
#include <stdint.h>

// Compression values of a BMP info header that the platform's bitmap loader draws from.
enum {
  kBmpRgb = 0,
  kBmpRle8 = 1,
  kBmpRle4 = 2,
  kBmpBitFields = 3,
};

// The first bytes of a file that ParseBmpHeader needs: the file header and the largest info
// header (124 bytes).
enum { kBmpHeaderBytes = 14 + 124 };

struct BmpHeader {
  int width;
  int height;   // always positive; topDown says how the rows are stored
  int topDown;  // 1 if the top row is stored first (a negative height in the file)
  int bitsPerPixel;
  uint32_t compression;
};

enum BmpHeaderResult {
  kBmpOk,
  kBmpNotBmp,       // does not start with "BM"
  kBmpBadHeader,    // too short, an info header of unknown size, or pixels inside the headers
  kBmpBadSize,      // a width or height of 0 or less
  kBmpTooLarge,     // wider or taller than kMaxPictureSide
  kBmpUnsupported,  // bits and compression the loader does not draw (JPEG or PNG inside)
  kBmpTruncated,    // the pixels would reach past the end of the file
};

// Reads the headers from the first length bytes of a file of fileSize bytes. header is filled as
// far as it could be read, so that a refusal can name the size or the format.
BmpHeaderResult ParseBmpHeader(const uint8_t* bytes, size_t length, uint64_t fileSize,
                               BmpHeader* header);
