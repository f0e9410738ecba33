// Hostile skin pictures, in-process: every kind of bitmap the platform loads comes up with its
// own size and shape; every broken one gives the picture-size message once and the 120 x 120
// window. Never a crash, and the setting is written back unchanged at teardown.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

const Rgb kInk = 0x00202020;
const Rgb kBody = 0x00E0A040;
const Rgb kCheek = 0x00F08080;

// A 29 x 21 bird in as many colours as asked for (2, 3 or more), magenta around it.
Picture Bird(int colours) {
  return {29, 21, [colours](int x, int y) -> Rgb {
            int dx = x - 14, dy = y - 10;
            if (dx * dx * 4 + dy * dy * 9 > 900) return kMagenta;
            if (x == 20 && y == 8) return kMagenta;  // an eye to see through
            if (colours == 2) return kInk;
            if (colours == 3) return (x + y) % 4 ? kBody : kInk;
            return (x * 7 + y * 3) % 5 == 0 ? kCheek : (x + y) % 4 ? kBody : kInk;
          }};
}

// kShown: its size and exactly its shape. kLoadedAsIs: the platform loads it, so the accessory
// takes its size, without a message, and some shape; under Wine 8 the pixels LoadImageA could not
// read come up black. kReported: the picture-size message and the unshaped 120 x 120 window.
enum Outcome { kShown, kLoadedAsIs, kReported };

struct PictureCase {
  const char* what;
  const char* fileName;  // in the skin folder; setting.ini names no skin, so "default" is used
  std::function<std::string()> bytes;
  Outcome outcome;
  Picture shape;  // for kShown: the size and the pixels expected to be cut out
};

std::string Truncated(const std::string& bytes, size_t keep) { return bytes.substr(0, keep); }

// A valid header that claims a picture of width x height with almost no pixels behind it.
std::string HugeHeader(int width, int height, int bitCount) {
  std::string bytes = BmpBytes(Solid(4, 4, kBody), {bitCount, false, false, 0});
  BITMAPINFOHEADER* info = reinterpret_cast<BITMAPINFOHEADER*>(&bytes[sizeof(BITMAPFILEHEADER)]);
  info->biWidth = width;
  info->biHeight = height;
  return bytes;
}

void ExpectOutcome(const PictureCase& c) {
  SCOPED_TRACE(c.what);
  TempInstall install;
  WriteTextFile(install.dir + "skin\\" + c.fileName, c.bytes());
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  ASSERT_TRUE(IsWindow(accessory.window));
  RECT rect = WindowRect(accessory.window);
  HRGN actual = CreateRectRgn(0, 0, 0, 0);
  int kind = GetWindowRgn(accessory.window, actual);
  if (c.outcome != kReported) {
    EXPECT_TRUE(answerer.texts.empty()) << (answerer.texts.empty() ? L"" : answerer.texts[0]);
    EXPECT_EQ(c.shape.width, rect.right - rect.left);
    EXPECT_EQ(c.shape.height, rect.bottom - rect.top);
    EXPECT_NE(ERROR, kind);
  }
  if (c.outcome == kShown) {
    HRGN expected = ExpectedShape(c.shape);
    EXPECT_TRUE(EqualRgn(actual, expected)) << "the shape is not the picture's";
    DeleteObject(expected);
  } else if (c.outcome == kReported) {
    ASSERT_EQ(1u, answerer.texts.size());
    EXPECT_EQ(kPictureSizeFailed, answerer.texts[0]);
    EXPECT_EQ(120, rect.right - rect.left);
    EXPECT_EQ(120, rect.bottom - rect.top);
    EXPECT_EQ(ERROR, kind) << "without a picture the window keeps its full rectangle";
  }
  DeleteObject(actual);
  accessory.Close();
  EXPECT_EQ(SettingsNaming("default"), ReadTextFile(install.dir + kSettingsFile));
}

}  // namespace

TEST(HostilePictures, EachKindComesUpWithItsShapeOrIsReported) {
  const std::string valid24 = BmpBytes(Bird(3), kBmp24);
  const PictureCase cases[] = {
      {"zero-byte file", "default.bmp", [] { return std::string(); }, kReported, {}},
      {"text file named .bmp",
       "default.bmp",
       [] { return std::string("not a picture\r\n"); },
       kReported,
       {}},
      {"file header only", "default.bmp", [&] { return Truncated(valid24, 14); }, kReported, {}},
      {"headers without pixels", "default.bmp", [&] { return Truncated(valid24, 54); }, kLoadedAsIs,
       Bird(3)},
      {"pixels cut off halfway", "default.bmp",
       [&] { return Truncated(valid24, valid24.size() / 2); }, kLoadedAsIs, Bird(3)},
      {"header claiming 100000 x 100000, 24-bit",
       "default.bmp",
       [] { return HugeHeader(100000, 100000, 24); },
       kReported,
       {}},
      {"header claiming 100000 x 100000, 1-bit",
       "default.bmp",
       [] { return HugeHeader(100000, 100000, 1); },
       kReported,
       {}},
      {"1 x 1", "default.bmp", [&] { return BmpBytes(Solid(1, 1, kBody), kBmp24); }, kShown,
       Solid(1, 1, kBody)},
      {"1 x 1 magenta", "default.bmp", [&] { return BmpBytes(Solid(1, 1, kMagenta), kBmp24); }, kShown,
       Solid(1, 1, kMagenta)},
      {"1-bit palette", "default.bmp",
       [] { return BmpBytes(Bird(2), {1, false, false, 0}); }, kShown, Bird(2)},
      {"4-bit palette", "default.bmp",
       [] { return BmpBytes(Bird(4), {4, false, false, 0}); }, kShown, Bird(4)},
      {"8-bit palette", "default.bmp",
       [] { return BmpBytes(Bird(4), {8, false, false, 0}); }, kShown, Bird(4)},
      {"8-bit RLE8", "default.bmp",
       [] { return BmpBytes(Bird(4), {8, true, false, 0}); }, kShown, Bird(4)},
      {"16-bit 5-5-5", "default.bmp",
       [] { return BmpBytes(Bird(3), {16, false, false, 0}); }, kShown, Bird(3)},
      {"32-bit", "default.bmp",
       [] { return BmpBytes(Bird(4), {32, false, false, 0}); }, kShown, Bird(4)},
      {"32-bit with opaque alpha", "default.bmp",
       [] { return BmpBytes(Bird(4), {32, false, false, 0xFF}); }, kShown, Bird(4)},
      // Wine's LoadImageA (8 and 10 alike) turns a top-down file into an all-black picture of the
      // right size.
      {"top-down 24-bit", "default.bmp",
       [] { return BmpBytes(Bird(4), {24, false, true, 0}); }, kLoadedAsIs, Bird(4)},
      {"upper-case extension .BMP", "default.BMP", [&] { return valid24; }, kShown, Bird(3)},
  };
  for (const PictureCase& c : cases) ExpectOutcome(c);
}

// A large picture: its size, and its shape checked at the edges of a disc rather than pixel by
// pixel. (How long the shape takes to build is measured by the benchmarks.)
TEST(HostilePictures, LargeValidPictureIsShownWhole) {
  const int side = 2000;
  Picture disc = {side, side, [](int x, int y) -> Rgb {
                    int dx = x - 1000, dy = y - 1000;
                    return dx * dx + dy * dy <= 900 * 900 ? ((x ^ y) & 1 ? kBody : kInk) : kMagenta;
                  }};
  TempInstall install;
  WriteBmp(install.Skin("default"), disc, kBmp24);
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  EXPECT_TRUE(answerer.texts.empty());
  RECT rect = WindowRect(accessory.window);
  EXPECT_EQ(side, rect.right - rect.left);
  EXPECT_EQ(side, rect.bottom - rect.top);
  HRGN actual = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(accessory.window, actual));
  RECT box = RegionBox(actual);
  EXPECT_EQ(100, box.left);
  EXPECT_EQ(100, box.top);
  EXPECT_EQ(1901, box.right);
  EXPECT_EQ(1901, box.bottom);
  EXPECT_TRUE(PtInRegion(actual, 1000, 1000));
  EXPECT_TRUE(PtInRegion(actual, 1000, 100));
  EXPECT_FALSE(PtInRegion(actual, 150, 150));
  EXPECT_FALSE(PtInRegion(actual, 1000, 99));
  DeleteObject(actual);
}
