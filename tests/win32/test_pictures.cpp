// Test pictures: .bmp bytes of any depth, bottom-up or top-down, and RLE8; bitmaps made from
// the same bytes; the expected shape.
#include "test_pictures.h"

#include <string.h>

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

}  // namespace

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

  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = picture.width;
  info.biHeight = format.topDown ? -picture.height : picture.height;
  info.biPlanes = 1;
  info.biBitCount = static_cast<WORD>(format.bitCount);
  info.biCompression = format.rle8 ? BI_RLE8 : BI_RGB;
  info.biSizeImage = format.rle8 ? static_cast<DWORD>(bits.size()) : 0;
  info.biClrUsed = static_cast<DWORD>(palette.size());
  std::string quads;
  for (Rgb c : palette) {
    unsigned char q[4] = {static_cast<unsigned char>(c & 0xFF),
                          static_cast<unsigned char>((c >> 8) & 0xFF),
                          static_cast<unsigned char>((c >> 16) & 0xFF), 0};
    quads.append(reinterpret_cast<char*>(q), 4);
  }
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = static_cast<DWORD>(sizeof file + sizeof info + quads.size());
  file.bfSize = static_cast<DWORD>(file.bfOffBits + bits.size());
  std::string bytes(reinterpret_cast<char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<char*>(&info), sizeof info);
  bytes += quads;
  bytes.append(reinterpret_cast<char*>(bits.data()), bits.size());
  return bytes;
}

HBITMAP MakeDib(const Picture& picture, const BmpFormat& format) {
  if (format.rle8) return NULL;
  std::string bytes = BmpBytes(picture, format);
  BITMAPFILEHEADER file;
  memcpy(&file, bytes.data(), sizeof file);
  // The header and palette, copied out of the byte string to be suitably aligned.
  std::vector<DWORD> header((file.bfOffBits - sizeof file + sizeof(DWORD) - 1) / sizeof(DWORD));
  memcpy(header.data(), bytes.data() + sizeof file, file.bfOffBits - sizeof file);
  const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(header.data());
  if (format.bitCount <= 8 && info->bmiHeader.biClrUsed > (1u << format.bitCount)) return NULL;
  void* bits = NULL;
  HBITMAP dib = CreateDIBSection(NULL, info, DIB_RGB_COLORS, &bits, NULL, 0);
  if (!dib) return NULL;
  memcpy(bits, bytes.data() + file.bfOffBits, bytes.size() - file.bfOffBits);
  GdiFlush();
  return dib;
}

HBITMAP MakeDdb(const Picture& picture) {
  HBITMAP dib = MakeDib(picture, kBmp24);
  if (!dib) return NULL;
  HDC screen = GetDC(NULL);
  HBITMAP ddb = CreateCompatibleBitmap(screen, picture.width, picture.height);
  HDC from = CreateCompatibleDC(screen);
  HDC to = CreateCompatibleDC(screen);
  HGDIOBJ oldFrom = SelectObject(from, dib);
  HGDIOBJ oldTo = SelectObject(to, ddb);
  BitBlt(to, 0, 0, picture.width, picture.height, from, 0, 0, SRCCOPY);
  SelectObject(to, oldTo);
  SelectObject(from, oldFrom);
  DeleteDC(to);
  DeleteDC(from);
  ReleaseDC(NULL, screen);
  DeleteObject(dib);
  return ddb;
}

HRGN ExpectedShape(const Picture& picture) {
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (picture.colour(x, y) != kMagenta) {
        HRGN pixel = CreateRectRgn(x, y, x + 1, y + 1);
        CombineRgn(shape, shape, pixel, RGN_OR);
        DeleteObject(pixel);
      }
  return shape;
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
