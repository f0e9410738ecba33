// Test pictures as .bmp bytes of any depth, bottom-up or top-down, and RLE8.
#include "tests/pictures/pictures.h"

#include <map>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

void PutBits(unsigned char* line, int x, int bitCount, unsigned value) {
  int perByte = 8 / bitCount;
  int shift = 8 - bitCount * (x % perByte + 1);
  line[x / perByte] |= static_cast<unsigned char>(value << shift);
}

// One stored row of a palette or true-colour picture, padded to 4 bytes.
Bytes StoredRow(const Picture& picture, int y, const BmpFormat& format, std::map<Rgb, int>& index) {
  int stride = ((picture.width * format.bitCount + 31) / 32) * 4;
  Bytes line(stride);
  for (int x = 0; x < picture.width; ++x) {
    Rgb c = picture.colour(x, y);
    unsigned char r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    switch (format.bitCount) {
      case 1:
      case 4:
      case 8:
        if (format.bitCount == 8)
          line[x] = static_cast<unsigned char>(index[c]);
        else
          PutBits(line.data(), x, format.bitCount, index[c]);
        break;
      case 16: {
        unsigned value = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        line[x * 2] = value & 0xFF;
        line[x * 2 + 1] = (value >> 8) & 0xFF;
        break;
      }
      case 24:
        line[x * 3] = b;
        line[x * 3 + 1] = g;
        line[x * 3 + 2] = r;
        break;
      case 32:
        line[x * 4] = b;
        line[x * 4 + 1] = g;
        line[x * 4 + 2] = r;
        line[x * 4 + 3] = format.alpha;
        break;
    }
  }
  return line;
}

// A row in RLE8: runs of one index (count, index), then the end-of-line escape.
Bytes Rle8Row(const Picture& picture, int y, std::map<Rgb, int>& index) {
  Bytes out;
  for (int x = 0; x < picture.width;) {
    int value = index[picture.colour(x, y)];
    int count = 1;
    while (x + count < picture.width && count < 255 && index[picture.colour(x + count, y)] == value)
      ++count;
    out.push_back(static_cast<unsigned char>(count));
    out.push_back(static_cast<unsigned char>(value));
    x += count;
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

// Appends value as size little-endian bytes, the byte order of every field of a .bmp file.
void PutLittleEndian(std::string& out, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string BmpHeaders(const BmpHeaderFields& fields) {
  // The fields in file order: reserved words, the info header's size (40), one plane, no
  // resolution and every colour important are fixed.
  const uint32_t width = static_cast<uint32_t>(fields.width);
  const uint32_t height = static_cast<uint32_t>(fields.height);
  std::string out = "BM";
  for (uint32_t value : {fields.fileSize, 0u, fields.pixelOffset, 40u, width, height})
    PutLittleEndian(out, value, 4);
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, static_cast<uint32_t>(fields.bitCount), 2);
  for (uint32_t value : {fields.compression, fields.imageSize, 0u, 0u, fields.coloursUsed, 0u})
    PutLittleEndian(out, value, 4);
  return out;
}

std::string BmpBytes(const Picture& picture, const BmpFormat& format) {
  std::map<Rgb, int> index;
  std::vector<Rgb> palette;
  if (format.bitCount <= 8) {
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) {
        Rgb c = picture.colour(x, y);
        if (!index.count(c)) {
          index[c] = static_cast<int>(palette.size());
          palette.push_back(c);
        }
      }
  }
  Bytes bits;
  for (int row = 0; row < picture.height; ++row) {
    int y = format.topDown ? row : picture.height - 1 - row;
    Bytes line = format.rle8 ? Rle8Row(picture, y, index) : StoredRow(picture, y, format, index);
    bits.insert(bits.end(), line.begin(), line.end());
  }
  if (format.rle8) {
    bits.push_back(0);
    bits.push_back(1);  // end of bitmap
  }

  std::string quads;
  for (Rgb c : palette) PutLittleEndian(quads, c & 0x00FFFFFF, 4);  // blue, green, red, 0
  BmpHeaderFields fields = {};
  fields.width = picture.width;
  fields.height = format.topDown ? -picture.height : picture.height;
  fields.bitCount = format.bitCount;
  fields.compression = format.rle8 ? 1 : 0;
  fields.pixelOffset = static_cast<uint32_t>(kBmpHeadersSize + quads.size());
  fields.fileSize = static_cast<uint32_t>(fields.pixelOffset + bits.size());
  fields.imageSize = format.rle8 ? static_cast<uint32_t>(bits.size()) : 0;
  fields.coloursUsed = static_cast<uint32_t>(palette.size());
  std::string bytes = BmpHeaders(fields) + quads;
  bytes.append(reinterpret_cast<char*>(bits.data()), bits.size());
  return bytes;
}

Picture Solid(int width, int height, Rgb colour) {
  return {width, height, [colour](int, int) { return colour; }};
}

Picture Checkerboard(int width, int height) {
  return {width, height, [](int x, int y) -> Rgb { return (x + y) % 2 ? kMagenta : 0x00E0A040; }};
}

Picture Speckled(int width, int height, int colours) {
  return {width, height, [colours](int x, int y) -> Rgb {
            unsigned h =
                static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u;
            h = (h ^ (h >> 13)) * 0x5bd1e995u;
            h ^= h >> 15;
            int k = static_cast<int>(h % static_cast<unsigned>(colours));
            return k == 0 ? kMagenta : 0x00101010u * static_cast<Rgb>(k);
          }};
}
