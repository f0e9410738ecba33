// When the platform will not make a region or a drawing context, the shape builder still gives
// exactly the picture's shape (building the piece run by run) or nothing at all, never a shape
// with holes or a black rectangle, and leaks nothing either way. The failures are made
// in-process by patching the program's GDI32 imports.
#include <gtest/gtest.h>

#include "import_patch.h"
#include "object_counts.h"
#include "shape/region.h"
#include "test_support.h"

namespace {

// A picture of many runs (far more than one piece holds): a checkerboard of 3-pixel squares.
Picture Squares() {
  return {40, 30, [](int x, int y) { return ((x / 3 + y / 3) % 2) ? kMagenta : 0x00336699; }};
}

// Loads the picture from a BMP file, as the program loads its skins.
HBITMAP LoadPicture(const TempInstall& install, const Picture& picture) {
  std::string path = install.Skin("squares");
  WriteBmp(path, picture);
  return static_cast<HBITMAP>(LoadImageA(NULL, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

// The real GDI32 functions, reached around the patched import table.
void* Gdi32(const char* function) {
  return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdi32.dll"), function));
}

int g_extCreateCalls = 0;
HRGN WINAPI RefuseEveryOtherPiece(const XFORM* transform, DWORD size, const RGNDATA* data) {
  typedef HRGN(WINAPI * Real)(const XFORM*, DWORD, const RGNDATA*);
  Real real = reinterpret_cast<Real>(Gdi32("ExtCreateRegion"));
  return (g_extCreateCalls++ % 2) ? NULL : real(transform, size, data);
}

HRGN WINAPI RefuseEveryPiece(const XFORM*, DWORD, const RGNDATA*) { return NULL; }

// CreateRectRgn that works for the first g_rectsLeft calls and then fails.
int g_rectsLeft = 0;
HRGN WINAPI CreateRectRgnUntilExhausted(int left, int top, int right, int bottom) {
  if (g_rectsLeft <= 0) return NULL;
  --g_rectsLeft;
  typedef HRGN(WINAPI * Real)(int, int, int, int);
  return reinterpret_cast<Real>(Gdi32("CreateRectRgn"))(left, top, right, bottom);
}

// CreateCompatibleDC that makes the first context (made for the screen) but not the second (made
// compatible with the first), which the picture is drawn from.
HDC WINAPI RefuseSecondContext(HDC compatibleWith) {
  typedef HDC(WINAPI * Real)(HDC);
  return compatibleWith ? NULL : reinterpret_cast<Real>(Gdi32("CreateCompatibleDC"))(NULL);
}

// Builds the shape once unpatched, so that objects the platform makes at the first build of a
// process (and keeps) are not counted against the builds under test.
void WarmUp(HBITMAP bitmap) { DeleteObject(CreateRegionFromBitmap(bitmap, kMagenta)); }

}  // namespace

TEST(RegionFallback, PiecesThePlatformRefusesAreBuiltRunByRun) {
  TempInstall install;
  Picture picture = Squares();
  HBITMAP bitmap = LoadPicture(install, picture);
  ASSERT_NE(nullptr, bitmap);
  HRGN expected = ExpectedShape(picture);
  WarmUp(bitmap);
  int before = CountGdiObjects();

  typedef HRGN(WINAPI * Refusal)(const XFORM*, DWORD, const RGNDATA*);
  const Refusal refusals[] = {RefuseEveryPiece, RefuseEveryOtherPiece};
  for (Refusal refusal : refusals) {
    g_extCreateCalls = 0;
    HRGN shape;
    {
      ImportPatch patch("GDI32.dll", "ExtCreateRegion", reinterpret_cast<void*>(refusal));
      ASSERT_NE(nullptr, patch.slot);
      shape = CreateRegionFromBitmap(bitmap, kMagenta);
    }
    ASSERT_NE(nullptr, shape);
    EXPECT_TRUE(EqualRgn(expected, shape)) << "the shape must be the picture's, whole";
    DeleteObject(shape);
    EXPECT_EQ(before, CountGdiObjects());
  }
  DeleteObject(expected);
  DeleteObject(bitmap);
}

TEST(RegionFallback, WhenNoRegionCanBeMadeThereIsNoShapeRatherThanAWrongOne) {
  TempInstall install;
  HBITMAP bitmap = LoadPicture(install, Squares());
  ASSERT_NE(nullptr, bitmap);
  WarmUp(bitmap);
  int before = CountGdiObjects();

  // 210 runs in 14 pieces take 224 rectangle regions run by run, and the result one more: the
  // regions run out at the start, early, late, and only for the result.
  const int rectsLeft[] = {0, 1, 40, 200, 224};
  for (int left : rectsLeft) {
    g_rectsLeft = left;
    HRGN shape;
    {
      ImportPatch pieces("GDI32.dll", "ExtCreateRegion", reinterpret_cast<void*>(RefuseEveryPiece));
      ImportPatch rects("GDI32.dll", "CreateRectRgn",
                        reinterpret_cast<void*>(CreateRectRgnUntilExhausted));
      ASSERT_NE(nullptr, rects.slot);
      shape = CreateRegionFromBitmap(bitmap, kMagenta);
    }
    EXPECT_EQ(nullptr, shape) << "regions left: " << left;
    if (shape) DeleteObject(shape);
    EXPECT_EQ(before, CountGdiObjects()) << "regions left: " << left;
  }

  // Without the context the picture is drawn from, the working copy stays all zeros: its shape
  // would be a black rectangle, not the picture's.
  HRGN shape;
  {
    ImportPatch contexts("GDI32.dll", "CreateCompatibleDC",
                         reinterpret_cast<void*>(RefuseSecondContext));
    ASSERT_NE(nullptr, contexts.slot);
    shape = CreateRegionFromBitmap(bitmap, kMagenta);
  }
  EXPECT_EQ(nullptr, shape) << "without a second context";
  if (shape) DeleteObject(shape);
  EXPECT_EQ(before, CountGdiObjects()) << "without a second context";
  DeleteObject(bitmap);
}
