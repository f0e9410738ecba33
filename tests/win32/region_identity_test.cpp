// The shape builder unites its runs in pieces, pairwise; the result must be exactly the region the
// per-run union gives. Every picture below is built both ways and compared with EqualRgn and,
// stricter, rectangle by rectangle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shape/region.h"
#include "shape/region_reference.h"
#include "test_support.h"

namespace {

const Rgb kBody = 0x00E0A040;
const Rgb kDark = 0x00202020;

// The rectangles of a region as GetRegionData gives them.
std::vector<RECT> RegionRects(HRGN region) {
  DWORD size = GetRegionData(region, 0, NULL);
  std::vector<char> bytes(size ? size : sizeof(RGNDATAHEADER));
  RGNDATA* data = reinterpret_cast<RGNDATA*>(bytes.data());
  if (!size || !GetRegionData(region, size, data)) return {};
  const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
  return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (!EqualRect(&a[i], &b[i])) return false;
  return true;
}

// Builds the shape of bitmap both ways and expects the same region; returns its rectangle count.
size_t ExpectSameAsPerRunUnion(HBITMAP bitmap, const std::string& what) {
  SCOPED_TRACE(what);
  HRGN fast = CreateRegionFromBitmap(bitmap, kMagenta);
  HRGN reference = CreateRegionFromBitmapPerRun(bitmap, kMagenta);
  EXPECT_NE(nullptr, fast);
  EXPECT_NE(nullptr, reference);
  if (!fast || !reference) {
    if (fast) DeleteObject(fast);
    if (reference) DeleteObject(reference);
    return 0;
  }
  EXPECT_TRUE(EqualRgn(fast, reference));
  std::vector<RECT> fastRects = RegionRects(fast), referenceRects = RegionRects(reference);
  EXPECT_TRUE(SameRects(fastRects, referenceRects))
      << fastRects.size() << " rectangles against " << referenceRects.size();
  RECT fastBox, referenceBox;
  EXPECT_EQ(GetRgnBox(reference, &referenceBox), GetRgnBox(fast, &fastBox));
  EXPECT_TRUE(EqualRect(&fastBox, &referenceBox));
  DeleteObject(reference);
  DeleteObject(fast);
  return referenceRects.size();
}

// Exactly count single-pixel runs, on every other pixel of 64-pixel rows.
Picture Dots(int count) {
  int height = (count + 31) / 32;
  return {64, height, [count](int x, int y) {
            return x % 2 == 0 && y * 32 + x / 2 < count ? kBody : kMagenta;
          }};
}

// A creature-like blob: a disc with a hole, a slit and two colours, magenta around.
Picture Blob(int width, int height) {
  return {width, height, [width, height](int x, int y) -> Rgb {
            int dx = 2 * x - width, dy = 2 * y - height;
            long long r2 = static_cast<long long>(width) * width;
            if (static_cast<long long>(dx) * dx +
                    static_cast<long long>(dy) * dy * width * width / (height * height) >
                r2)
              return kMagenta;
            if (x == width / 2 + 2) return kMagenta;
            if (dx * dx + dy * dy < 16) return kMagenta;
            return (x + y) % 3 ? kBody : kDark;
          }};
}

struct Case {
  const char* name;
  Picture picture;
  int bitCount;  // 0: a device-dependent bitmap
};

}  // namespace

TEST(RegionIdentity, SyntheticPicturesOfEveryKindMatchThePerRunUnion) {
  const Case cases[] = {
      {"blob, 24-bit", Blob(23, 17), 24},
      {"blob, 32-bit", Blob(40, 33), 32},
      {"blob, device-dependent", Blob(96, 80), 0},
      {"speckled, 8-bit palette with magenta", Speckled(61, 29, 200), 8},
      {"speckled, 4-bit palette with magenta", Speckled(37, 23, 16), 4},
      {"speckled, 1-bit palette with magenta", Speckled(45, 31, 2), 1},
      {"width 1", Speckled(1, 50, 2), 24},
      {"width 1, 1-bit", Speckled(1, 40, 2), 1},
      {"width 3", Speckled(3, 41, 3), 24},
      {"width 3, 4-bit", Speckled(3, 19, 5), 4},
      {"width 257", Speckled(257, 13, 4), 24},
      {"width 257, 8-bit", Speckled(257, 9, 40), 8},
      {"checkerboard 128 x 128 (8192 runs: a power of two of whole pieces)", Checkerboard(128, 128),
       24},
      {"checkerboard 61 x 37 (partial last piece)", Checkerboard(61, 37), 24},
      {"checkerboard 64 x 48, 1-bit", Checkerboard(64, 48), 1},
      {"15 runs", Dots(15), 24},
      {"16 runs", Dots(16), 24},
      {"17 runs", Dots(17), 24},
      {"255 runs", Dots(255), 24},
      {"256 runs", Dots(256), 24},
      {"257 runs", Dots(257), 24},
      {"513 runs", Dots(513), 8},
      {"no magenta", {40, 30, [](int x, int) { return x % 2 ? kBody : kDark; }}, 24},
      {"no magenta, 1-bit", {33, 7, [](int, int) { return kBody; }}, 1},
      {"one pixel", {1, 1, [](int, int) { return kBody; }}, 24},
      {"one pixel in the last column",
       {50, 20, [](int x, int y) { return x == 49 && y == 7 ? kBody : kMagenta; }},
       24},
      {"one pixel in the first and last row",
       {9, 12,
        [](int x, int y) { return (y == 0 && x == 0) || (y == 11 && x == 8) ? kBody : kMagenta; }},
       8},
  };
  for (const Case& c : cases) {
    HBITMAP bitmap =
        c.bitCount ? MakeDib(c.picture, {c.bitCount, false, false, 0}) : MakeDdb(c.picture);
    ASSERT_NE(nullptr, bitmap) << c.name;
    ExpectSameAsPerRunUnion(bitmap, c.name);
    DeleteObject(bitmap);
  }
}

TEST(RegionIdentity, PalettePicturesAreCutWhereTheirMagentaEntryIsUsed) {
  const int depths[] = {1, 4, 8};
  for (int depth : depths) {
    Picture picture = Speckled(19, 11, 1 << (depth < 4 ? depth : 4));
    HBITMAP bitmap = MakeDib(picture, {depth, false, false, 0});
    ASSERT_NE(nullptr, bitmap);
    HRGN fast = CreateRegionFromBitmap(bitmap, kMagenta);
    HRGN expected = ExpectedShape(picture);
    EXPECT_TRUE(EqualRgn(fast, expected)) << depth << "-bit";
    DeleteObject(expected);
    DeleteObject(fast);
    DeleteObject(bitmap);
  }
}

TEST(RegionIdentity, AllMagentaGivesAnEmptyRegionBothWays) {
  const int depths[] = {1, 8, 24};
  for (int depth : depths) {
    HBITMAP bitmap = MakeDib(Solid(17, 5, kMagenta), {depth, false, false, 0});
    ASSERT_NE(nullptr, bitmap);
    HRGN fast = CreateRegionFromBitmap(bitmap, kMagenta);
    ASSERT_NE(nullptr, fast) << depth << "-bit: empty, not none";
    RECT box;
    EXPECT_EQ(NULLREGION, GetRgnBox(fast, &box));
    EXPECT_EQ(0u, ExpectSameAsPerRunUnion(bitmap, "all magenta"));
    DeleteObject(fast);
    DeleteObject(bitmap);
  }
}

TEST(RegionIdentity, ShippedSkinsMatchThePerRunUnion) {
  std::string folder = SourceSkinFolder();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.bmp").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search) << "no skins in " << folder;
  int skins = 0;
  do {
    std::string path = folder + found.cFileName;
    HBITMAP picture =
        static_cast<HBITMAP>(LoadImageA(NULL, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    EXPECT_NE(nullptr, picture) << path;
    if (!picture) continue;
    ExpectSameAsPerRunUnion(picture, path);
    DeleteObject(picture);
    ++skins;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_GE(skins, 2);
}
