// Test pictures: described pixel by pixel, encoded as .bmp bytes of any depth or as bitmaps in
// memory, and the shape the accessory must cut from them (every pixel that is not magenta).
// One palette rule for all encodings: the colours a picture uses, in order of first use.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// A pixel colour as 0x00RRGGBB, the value the shape builder compares.
typedef unsigned int Rgb;
const Rgb kMagenta = 0x00FF00FF;

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

// The picture's bytes as a .bmp file. The palette of a 1-, 4- or 8-bit picture holds exactly
// the colours it uses (at most 2, 16 or 256).
std::string BmpBytes(const Picture& picture, const BmpFormat& format = kBmp24);

// A DIB section of the picture in the given uncompressed format; NULL if its colours do not fit
// the format's palette. The caller deletes it.
HBITMAP MakeDib(const Picture& picture, const BmpFormat& format);
// A device-dependent bitmap of the picture, the kind LoadImageA gives the program.
HBITMAP MakeDdb(const Picture& picture);

// The union of the picture's non-magenta pixels, built pixel by pixel. The caller deletes it.
HRGN ExpectedShape(const Picture& picture);

// Pictures several tests share.
Picture Solid(int width, int height, Rgb colour);
// Magenta and one colour alternating pixel by pixel: every run is one pixel long.
Picture Checkerboard(int width, int height);
// Irregular runs of many colours, magenta among them (a pseudo-random pattern).
Picture Speckled(int width, int height, int colours);
