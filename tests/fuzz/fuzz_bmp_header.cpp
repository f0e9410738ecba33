// Fuzzes the skin kit's BMP header reader: any bytes and any claimed file size. The bytes sit in
// a buffer of exactly their length, so a read past it is caught; an accepted header must describe
// a picture the kit can afford and whose pixels lie inside the file.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "skinkit/bmp_header.h"
#include "skinkit/skin_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  uint32_t extra;  // how much longer than the bytes given the file claims to be
  memcpy(&extra, data, sizeof extra);
  data += sizeof extra;
  size -= sizeof extra;
  uint8_t* exact = static_cast<uint8_t*>(malloc(size ? size : 1));
  if (size) memcpy(exact, data, size);
  BmpHeader header;
  BmpHeaderResult result = ParseBmpHeader(exact, size, uint64_t(size) + (extra & 0xFFFF), &header);
  free(exact);
  if (result == kBmpOk) {
    if (header.width < 1 || header.width > kMaxPictureSide || header.height < 1 ||
        header.height > kMaxPictureSide)
      abort();
    if (header.compression == kBmpRgb &&
        uint64_t((header.width * header.bitsPerPixel + 31) / 32 * 4) * uint64_t(header.height) >
            uint64_t(size) + (extra & 0xFFFF))
      abort();
  }
  return 0;
}
