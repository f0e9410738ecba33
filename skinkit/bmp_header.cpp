// The BMP header reader of the skin kit. Every field is little-endian; every size is checked
// before it is used, with 64-bit arithmetic so no product can wrap.
#include "skinkit/bmp_header.h"

#include <stdint.h>
#include <string.h>

#include "skinkit/skin_limits.h"

static uint32_t Read16(const uint8_t* p) { return p[0] | (uint32_t(p[1]) << 8); }
static uint32_t Read32(const uint8_t* p) { return Read16(p) | (Read16(p + 2) << 16); }

// 1 if the loader draws pixels of this depth and compression.
static int IsDrawable(int bits, uint32_t compression, int topDown) {
  switch (compression) {
    case kBmpRgb:
      return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kBmpRle8:
      return bits == 8 && !topDown;  // run-length pictures are stored bottom row first only
    case kBmpRle4:
      return bits == 4 && !topDown;
    case kBmpBitFields:
      return bits == 16 || bits == 32;
    default:
      return 0;
  }
}

// The bytes of an info header's palette: the colours it says it uses (at most 256), or for 8 bits
// or fewer, when it says 0, a colour for every pixel value.
static uint64_t PaletteBytes(int bits, uint32_t coloursUsed) {
  uint64_t most = bits <= 8 ? uint64_t(1) << bits : 256;
  if (coloursUsed == 0) return bits <= 8 ? most * 4 : 0;
  return (coloursUsed < most ? coloursUsed : most) * 4;
}

BmpHeaderResult ParseBmpHeader(const uint8_t* bytes, size_t length, uint64_t fileSize,
                               BmpHeader* header) {
  memset(header, 0, sizeof *header);
  if (length > fileSize) length = size_t(fileSize);
  if (length < 2 || bytes[0] != 'B' || bytes[1] != 'M') return kBmpNotBmp;
  if (length < 18) return kBmpBadHeader;
  uint64_t pixelOffset = Read32(bytes + 10);
  uint32_t infoSize = Read32(bytes + 14);
  int64_t width, height;
  uint64_t paletteBytes;
  if (infoSize == 12) {  // the old core header: unsigned 16-bit sizes, no compression
    if (length < 14 + 12) return kBmpBadHeader;
    width = Read16(bytes + 18);
    height = Read16(bytes + 20);
    header->bitsPerPixel = int(Read16(bytes + 24));
    paletteBytes = header->bitsPerPixel <= 8 ? 3u << header->bitsPerPixel : 0;
  } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 64 ||
             infoSize == 108 || infoSize == 124) {  // the info header and its later versions
    if (length < 14 + 40) return kBmpBadHeader;
    width = int32_t(Read32(bytes + 18));
    height = int32_t(Read32(bytes + 22));
    header->bitsPerPixel = int(Read16(bytes + 28));
    header->compression = Read32(bytes + 30);
    paletteBytes = PaletteBytes(header->bitsPerPixel, Read32(bytes + 46));
    if (infoSize == 40 && header->compression == kBmpBitFields) paletteBytes += 12;  // masks
  } else {
    return kBmpBadHeader;
  }
  header->topDown = height < 0;
  if (height < 0) height = -height;
  header->width = int(width);
  header->height = height > INT32_MAX ? INT32_MAX : int(height);  // the claim, for the refusal
  if (width <= 0 || height <= 0) return kBmpBadSize;
  if (width > kMaxPictureSide || height > kMaxPictureSide) return kBmpTooLarge;
  if (!IsDrawable(header->bitsPerPixel, header->compression, header->topDown))
    return kBmpUnsupported;
  // Run-length pixels have no size to check ahead; uncompressed rows are padded to 4 bytes.
  uint64_t pixelBytes = 1;
  if (header->compression == kBmpRgb || header->compression == kBmpBitFields)
    pixelBytes = uint64_t((width * header->bitsPerPixel + 31) / 32 * 4) * uint64_t(height);
  // An offset of 0 says the pixels follow the headers, the masks and the palette, and the
  // loader reads them from there.
  if (pixelOffset == 0) pixelOffset = 14 + infoSize + paletteBytes;
  if (pixelOffset < 14 + infoSize) return kBmpBadHeader;
  if (pixelOffset + pixelBytes > fileSize) return kBmpTruncated;
  return kBmpOk;
}
