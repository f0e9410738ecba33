// Test pictures as bitmaps in memory, made from the bytes of their files, and the expected shape.
#include "test_pictures.h"

#include <string.h>

#include <vector>

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
