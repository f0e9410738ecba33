// How many rectangles a shape has, as the platform keeps it: what the skin kit reports and judges
// a skin by. Counted for the picture (CountRegionRects of CreateRegionFromBitmap, as the kit
// does) it must equal the count of the shape the accessory window really has.
#include <gtest/gtest.h>

#include <string>

#include "shape/region.h"
#include "test_support.h"

namespace {

// Rectangles of the shape the kit counts for the skin file at path.
size_t KitCount(const std::string& path) {
  HBITMAP bitmap =
      static_cast<HBITMAP>(LoadImageA(NULL, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (!bitmap) return size_t(-1);
  HRGN shape = CreateRegionFromBitmap(bitmap, kMagenta);
  size_t count = size_t(-1);
  if (shape) {
    CountRegionRects(shape, &count);
    DeleteObject(shape);
  }
  DeleteObject(bitmap);
  return count;
}

// Rectangles of the window's shape when the accessory shows the skin file at path.
size_t WindowCount(const std::string& path) {
  TempInstall install;
  CopyFileA(path.c_str(), install.Skin("default").c_str(), FALSE);
  OpenedAccessory accessory(install.dir);
  if (!IsWindow(accessory.window)) return size_t(-1);
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  size_t count = size_t(-1);
  if (GetWindowRgn(accessory.window, shape) != ERROR) CountRegionRects(shape, &count);
  DeleteObject(shape);
  return count;
}

}  // namespace

TEST(ShapeRects, TheKitsCountIsTheWindowsCount) {
  TempInstall pictures;
  // 400 x 300 stripes one pixel wide: 200 runs a row, 60000 in all, yet every row is alike, so
  // the shape is 200 rectangles the height of the picture.
  WriteBmp(pictures.Skin("stripes"), {400, 300, [](int x, int) { return x % 2 ? kMagenta : 0; }});
  WriteBmp(pictures.Skin("all cut"), Solid(5, 4, kMagenta));
  WriteBmp(pictures.Skin("checkerboard"), Checkerboard(20, 10));
  const struct Case {
    std::string path;
    size_t rects;
  } cases[] = {
      {SourceSkinFolder() + "default.bmp", 65}, {SourceSkinFolder() + "night.bmp", 107},
      {pictures.Skin("stripes"), 200},          {pictures.Skin("all cut"), 0},
      {pictures.Skin("checkerboard"), 100},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.rects, KitCount(c.path)) << c.path;
    EXPECT_EQ(c.rects, WindowCount(c.path)) << c.path;
  }
}

TEST(ShapeRects, NoRegionCannotBeCounted) {
  size_t count = 7;
  EXPECT_EQ(0, CountRegionRects(NULL, &count));
  EXPECT_EQ(7u, count);
}
