// The skin kit's portable logic: colour keying, fringe detection and the shape measurements,
// the BMP header reader and the 24-bit layout, the name rules and the verdicts.
#include <gtest/gtest.h>
#include <string.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/skin_names.h"
#include "shape/pixel_runs.h"
#include "skinkit/bmp_header.h"
#include "skinkit/kit_decisions.h"
#include "skinkit/prepare_pixels.h"
#include "skinkit/skin_pixels.h"
#include "skinkit/skin_report.h"
#include "tests/pictures/pictures.h"

namespace {

const uint32_t M = kSkinKey;
const uint32_t K = 0x00102030;  // an ordinary colour
const uint32_t F = 0x00F010E8;  // near-magenta: what anti-aliasing leaves

// One BGRA pixel from a colour and an alpha.
std::vector<uint8_t> Bgra(std::initializer_list<std::pair<uint32_t, int>> pixels) {
  std::vector<uint8_t> bytes;
  for (const auto& p : pixels) {
    bytes.insert(bytes.end(), {uint8_t(p.first), uint8_t(p.first >> 8), uint8_t(p.first >> 16),
                               uint8_t(p.second)});
  }
  return bytes;
}

// An opaque picture: colour(x, y) for each dot.
std::vector<uint8_t> Opaque(int width, int height,
                            const std::function<uint32_t(int, int)>& colour) {
  std::vector<uint8_t> bytes(size_t(width) * size_t(height) * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint32_t c = colour(x, y);
      uint8_t* p = &bytes[(size_t(y) * size_t(width) + size_t(x)) * 4];
      p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16), p[3] = 255;
    }
  return bytes;
}

// A picture drawn in letters, its rows top first: '.' white, 'K' K, 'L' light and 'G' dark grey,
// 'r' 'g' 'b' red, green, blue.
std::vector<uint8_t> Art(std::vector<std::string> rows) {
  return Opaque(int(rows[0].size()), int(rows.size()), [&](int x, int y) {
    const uint32_t colours[] = {0xFFFFFF, K, 0xC8C8C8, 0x646464, 0xFF0000, 0x00FF00, 0x0000FF};
    return colours[strchr(".KLGrgb", rows[size_t(y)][size_t(x)]) - ".KLGrgb"];
  });
}

// The values, or how many of each colour there are when there are more than 25.
std::string Hex(const std::vector<uint32_t>& values) {
  std::map<uint32_t, size_t> counts;
  std::string text;
  char one[32];
  for (uint32_t v : values) {
    ++counts[v];
    snprintf(one, sizeof one, " %06X", unsigned(v));
    if (values.size() <= 25) text += one;
  }
  for (const auto& count : counts) {
    snprintf(one, sizeof one, " %06X*%zu", unsigned(count.first), count.second);
    if (values.size() > 25) text += one;
  }
  return text.empty() ? text : text.substr(1);
}

std::string Fringe(const SkinPixelFacts& facts) {
  std::string text = std::to_string(facts.fringePixels) + ":";
  for (int i = 0; i < facts.fringeShown; ++i)
    text += "(" + std::to_string(facts.fringeX[i]) + "," + std::to_string(facts.fringeY[i]) + ")";
  return text;
}

}  // namespace

struct KeyCase {
  const char* what;
  std::vector<uint8_t> bgra;
  int threshold;
  const char* values;
  size_t cut, nudged;
  // Rows with options go the whole way (PrepareSkinPixels), the picture width dots wide.
  int width = 0;
  PrepareOptions options = {};
  const char* facts = "";  // what it made transparent, the skin's size
};

const PrepareOptions kConvert = {0, 0, 128}, kDrop = {1, 1, 128};

// A white canvas of 1920 x 1080 with K drawn in its middle half, a light soft edge around it.
uint32_t OnCanvas(int x, int y) {
  if (x >= 480 && x < 1440 && y >= 270 && y < 810) return K;
  return x >= 479 && x <= 1440 && y >= 269 && y <= 810 ? 0xC0C0C0 : 0xFFFFFF;
}

// Magenta of 1920 x 1080 with black drawn one dot off the grid of the halved picture.
uint32_t OnMagenta(int x, int y) { return x > 480 && x < 1442 && y > 270 && y < 812 ? 0 : M; }

TEST(KeyPixels, AlphaDecidesWhatIsCutAndMagentaStays) {
  const KeyCase cases[] = {
      {"below the threshold is cut, at it is kept", Bgra({{K, 127}, {K, 128}, {K, 255}}), 128,
       "FF00FF 102030 102030", 1, 0},
      {"opaque exact magenta is nudged so it is not cut", Bgra({{M, 255}, {K, 0}}), 128,
       "FF00FE FF00FF", 1, 1},
      {"a cut pixel's colour does not matter", Bgra({{M, 0}, {K, 3}}), 128, "FF00FF FF00FF", 2, 0},
      {"near-magenta is left alone", Bgra({{F, 255}, {K, 0}}), 128, "F010E8 FF00FF", 1, 0},
      {"threshold 0 cuts nothing, yet magenta is nudged", Bgra({{M, 255}, {K, 0}}), 0,
       "FF00FE 102030", 0, 1},
      {"threshold 255 cuts everything not fully opaque", Bgra({{K, 254}, {K, 255}}), 255,
       "FF00FF 102030", 1, 0},
      {"an opaque picture without magenta keeps nothing", Bgra({{K, 255}}), 128, "102030", 0, 0},
      // The whole way, as a drop or a convert goes.
      {"opaque magenta is cut at any threshold", Bgra({{M, 255}, {K, 255}}), 0, "FF00FF 102030", 1,
       0, 2, {0, 0, 0}, "1 magenta, 0 background 000000, 2x1"},
      {"a white canvas: the background joined to the border is cut, the white enclosed stays",
       Art({".....", ".KKK.", ".K.K.", ".KKK.", "....."}), 128,
       "FF00FF FF00FF FF00FF FF00FF FF00FF FF00FF 102030 102030 102030 FF00FF FF00FF 102030 FFFFFF "
       "102030 FF00FF FF00FF 102030 102030 102030 FF00FF FF00FF FF00FF FF00FF FF00FF FF00FF",
       16, 0, 5, kDrop, "0 magenta, 16 background FFFFFF, 5x5"},
      {"convert keys no background unless asked", Art({"...", ".K.", "..."}), 128,
       "FFFFFF FFFFFF FFFFFF FFFFFF 102030 FFFFFF FFFFFF FFFFFF FFFFFF", 0, 0, 3, kConvert,
       "0 magenta, 0 background 000000, 3x3"},
      {"a soft edge: the light dot is cut, the dark one becomes the drawing's colour",
       Art({".....", ".LGK.", "....."}), 128,
       "FF00FF FF00FF FF00FF FF00FF FF00FF FF00FF FF00FF 000000 102030 FF00FF FF00FF FF00FF FF00FF "
       "FF00FF FF00FF",
       13, 0, 5, kDrop, "0 magenta, 13 background FFFFFF, 5x3"},
      {"the drawing may touch the border (8 of its 10 dots white)", Art({"....", ".KK.", ".KK."}),
       128, "FF00FF FF00FF FF00FF FF00FF FF00FF 102030 102030 FF00FF FF00FF 102030 102030 FF00FF",
       8, 0, 4, kDrop, "0 magenta, 8 background FFFFFF, 4x3"},
      {"a border under 6 eighths one colour (7 of 10 dots) is left alone",
       Art({"....", ".KK.", "KKK."}), 128,
       "FFFFFF FFFFFF FFFFFF FFFFFF FFFFFF 102030 102030 FFFFFF 102030 102030 102030 FFFFFF", 0, 0,
       4, kDrop, "0 magenta, 0 background 000000, 4x3"},
      {"a photo: a border of many colours is left alone", Art({"rgb", "gbr", "brg"}), 128,
       "FF0000 00FF00 0000FF 00FF00 0000FF FF0000 0000FF FF0000 00FF00", 0, 0, 3, kDrop,
       "0 magenta, 0 background 000000, 3x3"},
      {"a picture with alpha keeps its white", Bgra({{0xFFFFFF, 255}, {K, 0}}), 128,
       "FFFFFF FF00FF", 1, 0, 2, kDrop, "0 magenta, 0 background 000000, 2x1"},
      {"1920 x 1080 on white: 960 x 540, the soft edge cut, no light dot left",
       Opaque(1920, 1080, OnCanvas), 128, "102030*129600 FF00FF*388800", 388800, 0, 1920, kDrop,
       "0 magenta, 1555200 background FFFFFF, 960x540"},
      {"magenta is transparent before shrinking: a half-covered dot is black, not pink",
       Opaque(1920, 1080, OnMagenta), 128, "000000*130350 FF00FF*388050", 388050, 0, 1920, kDrop,
       "1553699 magenta, 0 background 000000, 960x540"},
  };
  for (const KeyCase& c : cases) {
    size_t count = c.bgra.size() / 4;
    std::vector<uint32_t> out(count);
    KeyCounts counts;
    std::string facts = "";
    if (c.width) {
      std::vector<uint8_t> bgra = c.bgra;
      PreparedFacts prepared;
      ASSERT_TRUE(PrepareSkinPixels(bgra.data(), c.width, int(count) / c.width, &c.options,
                                    out.data(), &prepared));
      out.resize(size_t(prepared.width) * size_t(prepared.height));
      counts = {prepared.cut, prepared.nudged};
      char text[96];
      snprintf(text, sizeof text, "%zu magenta, %zu background %06X, %dx%d", prepared.magentaDots,
               prepared.backgroundDots, unsigned(prepared.background), prepared.width,
               prepared.height);
      facts = text;
    } else {
      counts = KeyPixels(c.bgra.data(), count, c.threshold, out.data());
    }
    EXPECT_EQ(c.values, Hex(out)) << c.what;
    EXPECT_EQ(c.cut, counts.cut) << c.what;
    EXPECT_EQ(c.nudged, counts.nudged) << c.what;
    EXPECT_EQ(c.facts, facts) << c.what;
  }
}

TEST(KeyPixels, WorksInPlace) {
  std::vector<uint8_t> bytes = Bgra({{K, 0}, {M, 255}, {0x00ABCDEF, 200}});
  uint32_t* values = reinterpret_cast<uint32_t*>(bytes.data());
  KeyPixels(bytes.data(), 3, 128, values);
  EXPECT_EQ("FF00FF FF00FE ABCDEF", Hex({values[0], values[1], values[2]}));
}

TEST(IsNearMagenta, OnlyColoursCloseToTheKeyButNotIt) {
  EXPECT_FALSE(IsNearMagenta(M)) << "the key itself is cut, not a fringe";
  EXPECT_FALSE(IsNearMagenta(kNudgedMagenta)) << "magenta kept on purpose by converting";
  EXPECT_TRUE(IsNearMagenta(0x00FF00FD));
  EXPECT_TRUE(IsNearMagenta(F));
  EXPECT_TRUE(IsNearMagenta(0x00BF40BF)) << "at the tolerance";
  EXPECT_FALSE(IsNearMagenta(0x00BE40BF)) << "red one below";
  EXPECT_FALSE(IsNearMagenta(0x00BF41BF)) << "green one above";
  EXPECT_FALSE(IsNearMagenta(0x00BF40BE)) << "blue one below";
  EXPECT_FALSE(IsNearMagenta(0x00FF69B4)) << "hot pink is a colour, not a fringe";
  EXPECT_FALSE(IsNearMagenta(K));
}

struct MeasureCase {
  const char* what;
  int width, height;
  std::vector<uint32_t> pixels;  // bottom row first
  size_t runs, cut;
  int titleRowsCut;
  const char* fringe;  // count:(x,y)... with y from the top
};

// The accessory's lowest 22 rows rest on the title bar.
const int kTitleRows = 22;

// A picture one pixel wide of kTitleRows + 1 rows, all cut but the stored row opaqueRow.
std::vector<uint32_t> ColumnOpaqueAt(int opaqueRow) {
  std::vector<uint32_t> pixels(kTitleRows + 1, M);
  pixels[size_t(opaqueRow)] = K;
  return pixels;
}

TEST(MeasureSkinPixels, CountsRunsCutPixelsFringesAndTheTitleBarRows) {
  const MeasureCase cases[] = {
      {"no magenta: one run a row", 3, 2, {K, K, K, K, K, K}, 2, 0, 0, "0:"},
      {"all magenta", 2, 2, {M, M, M, M}, 0, 4, 1, "0:"},
      {"one-pixel fringe named from the top-left", 3, 2, {K, K, K, M, F, M}, 2, 2, 0, "1:(1,0)"},
      {"fringes in reading order: top row first", 2, 2, {F, K, K, F}, 2, 0, 0, "2:(1,0)(0,1)"},
      {"only the bottom row cut: the row above is over the title bar",
       2,
       2,
       {M, M, K, K},
       1,
       2,
       0,
       "0:"},
      {"checkerboard", 4, 2, {K, M, K, M, M, K, M, K}, 4, 4, 0, "0:"},
      {"the topmost row of the title bar's drawn", 1, kTitleRows + 1, ColumnOpaqueAt(kTitleRows - 1),
       1, kTitleRows, 0, "0:"},
      {"only the row above the title bar drawn: it floats", 1, kTitleRows + 1,
       ColumnOpaqueAt(kTitleRows), 1, kTitleRows, 1, "0:"},
  };
  for (const MeasureCase& c : cases) {
    SkinPixelFacts facts;
    MeasureSkinPixels(c.pixels.data(), c.width, c.height, &facts);
    EXPECT_EQ(c.runs, facts.runs) << c.what;
    EXPECT_EQ(c.cut, facts.cutPixels) << c.what;
    EXPECT_EQ(c.titleRowsCut, facts.titleRowsCut) << c.what;
    EXPECT_EQ(c.fringe, Fringe(facts)) << c.what;
  }
}

TEST(MeasureSkinPixels, NamesOnlyTheFirstFringesButCountsThemAll) {
  std::vector<uint32_t> pixels(10 * 3, F);
  SkinPixelFacts facts;
  MeasureSkinPixels(pixels.data(), 10, 3, &facts);
  EXPECT_EQ("30:(0,0)(1,0)(2,0)(3,0)(4,0)", Fringe(facts));
}

TEST(MeasureSkinPixels, RunsAreTheAccessorysOwnRuns) {
  std::vector<uint32_t> pixels(37 * 23);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i * 7919 % 5 < 2) ? M : K;
  SkinPixelFacts facts;
  MeasureSkinPixels(pixels.data(), 37, 23, &facts);
  size_t runs = ScanPixelRuns(
      pixels.data(), 37, 23, M, [](void*, const PixelRun&) {}, nullptr);
  EXPECT_EQ(runs, facts.runs);
}

namespace {

// A BMP file's first bytes: file header and a 40-byte info header.
std::vector<uint8_t> BmpStart(int width, int height, int bits, uint32_t compression,
                              uint32_t offset = kBmpHeadersSize) {
  std::string bytes = BmpHeaders({width, height, bits, compression, offset, 0, 0, 0});
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// A BMP file's first bytes with the old 12-byte core header.
std::vector<uint8_t> Core(int width, int height, int bits, uint32_t offset) {
  std::vector<uint8_t> bytes(26, 0);
  auto put16 = [&](size_t at, uint32_t value) {
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put16(10, offset);
  put16(14, 12);
  put16(18, uint32_t(width));
  put16(20, uint32_t(height));
  put16(22, 1);
  put16(24, uint32_t(bits));
  return bytes;
}

// The header with its count of palette colours used set.
std::vector<uint8_t> ColoursUsed(std::vector<uint8_t> bytes, uint8_t colours) {
  bytes[46] = colours;
  return bytes;
}

}  // namespace

struct HeaderCase {
  const char* what;
  std::vector<uint8_t> bytes;
  uint64_t fileSize;
  BmpHeaderResult result;
  int width, height, topDown;
};

TEST(ParseBmpHeader, AcceptsWhatTheLoaderDrawsAndTurnsAwayTheRest) {
  const uint64_t rows24 = 54 + 12 * 2;  // 3 x 2 at 24 bits: rows of 9 bytes padded to 12
  std::vector<uint8_t> core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0,  0,
                               0,   12,  0, 0, 0, 3, 0, 2, 0, 1, 0,  24, 0};
  const HeaderCase cases[] = {
      {"24-bit bottom-up", BmpStart(3, 2, 24, 0), rows24, kBmpOk, 3, 2, 0},
      {"top-down", BmpStart(3, -2, 24, 0), rows24, kBmpOk, 3, 2, 1},
      {"the old core header", core, 26 + 12 * 2, kBmpOk, 3, 2, 0},
      {"run-length 8-bit has no size to check", BmpStart(3, 2, 8, kBmpRle8), 60, kBmpOk, 3, 2, 0},
      {"one byte of pixels missing", BmpStart(3, 2, 24, 0), rows24 - 1, kBmpTruncated, 3, 2, 0},
      {"a PNG", {0x89, 'P', 'N', 'G'}, 4, kBmpNotBmp, 0, 0, 0},
      {"headers cut short",
       {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0},
       16,
       kBmpBadHeader,
       0,
       0,
       0},
      {"an info header of unknown size",
       [] {
         std::vector<uint8_t> b = BmpStart(3, 2, 24, 0);
         b[14] = 41;
         return b;
       }(),
       rows24, kBmpBadHeader, 0, 0, 0},
      {"pixels said to start inside the headers", BmpStart(3, 2, 24, 0, 20), rows24, kBmpBadHeader,
       3, 2, 0},
      {"a header claiming 100000 x 100000", BmpStart(100000, 100000, 24, 0), 54, kBmpTooLarge,
       100000, 100000, 0},
      {"the most negative height", BmpStart(3, INT32_MIN, 24, 0), 54, kBmpTooLarge, 3, INT32_MAX,
       1},
      {"zero width", BmpStart(0, 2, 24, 0), 54, kBmpBadSize, 0, 2, 0},
      {"JPEG inside", BmpStart(3, 2, 24, 4), rows24, kBmpUnsupported, 3, 2, 0},
      {"top-down run-length", BmpStart(3, -2, 8, kBmpRle8), 60, kBmpUnsupported, 3, 2, 1},
      {"12 bits a pixel", BmpStart(3, 2, 12, 0), rows24, kBmpUnsupported, 3, 2, 0},
      // An offset of 0: the pixels follow the headers and the palette.
      {"offset 0", BmpStart(3, 2, 24, 0, 0), rows24, kBmpOk, 3, 2, 0},
      {"offset 0, one byte of pixels missing", BmpStart(3, 2, 24, 0, 0), rows24 - 1, kBmpTruncated,
       3, 2, 0},
      {"offset 0 after a full 8-bit palette", BmpStart(3, 2, 8, 0, 0), 54 + 256 * 4 + 4 * 2, kBmpOk,
       3, 2, 0},
      {"offset 0 after a full 8-bit palette, cut", BmpStart(3, 2, 8, 0, 0),
       54 + 256 * 4 + 4 * 2 - 1, kBmpTruncated, 3, 2, 0},
      {"offset 0 after a palette of the 2 colours used", ColoursUsed(BmpStart(3, 2, 8, 0, 0), 2),
       54 + 2 * 4 + 4 * 2, kBmpOk, 3, 2, 0},
      {"offset 0 after the bit masks", BmpStart(3, 2, 32, kBmpBitFields, 0), 54 + 12 + 12 * 2,
       kBmpOk, 3, 2, 0},
      {"offset 0 after the bit masks, cut", BmpStart(3, 2, 32, kBmpBitFields, 0),
       54 + 12 + 12 * 2 - 1, kBmpTruncated, 3, 2, 0},
      {"offset 0 after the core header", Core(3, 2, 24, 0), 26 + 12 * 2, kBmpOk, 3, 2, 0},
      {"offset 0 after the core header's palette of 3 bytes a colour", Core(3, 2, 8, 0),
       26 + 256 * 3 + 4 * 2, kBmpOk, 3, 2, 0},
      {"the core header's height is unsigned", Core(3, 0xFFFE, 24, 26), 26 + 12 * 2, kBmpTooLarge,
       3, 0xFFFE, 0},
  };
  for (const HeaderCase& c : cases) {
    BmpHeader header;
    EXPECT_EQ(c.result, ParseBmpHeader(c.bytes.data(), c.bytes.size(), c.fileSize, &header))
        << c.what;
    EXPECT_EQ(c.width, header.width) << c.what;
    EXPECT_EQ(c.height, header.height) << c.what;
    EXPECT_EQ(c.topDown, header.topDown) << c.what;
  }
}

TEST(WriteBmp24, WritesABottomUpFileTheHeaderReaderAccepts) {
  const uint32_t top[] = {0x00112233, M, 0x00445566};  // 3 x 2, top row first
  const uint32_t pixels[] = {top[0], top[1], top[2], K, K, kNudgedMagenta};
  std::vector<uint8_t> file(Bmp24FileSize(3, 2));
  ASSERT_EQ(size_t(54 + 12 * 2), file.size());
  WriteBmp24(pixels, 3, 2, file.data());
  BmpHeader header;
  ASSERT_EQ(kBmpOk, ParseBmpHeader(file.data(), file.size(), file.size(), &header));
  EXPECT_EQ(24, header.bitsPerPixel);
  EXPECT_EQ(0, header.topDown);
  // The bottom row is stored first, blue green red, padded with zeros to 12 bytes.
  const uint8_t bottom[12] = {0x30, 0x20, 0x10, 0x30, 0x20, 0x10, 0xFE, 0x00, 0xFF, 0, 0, 0};
  const uint8_t upper[12] = {0x33, 0x22, 0x11, 0xFF, 0x00, 0xFF, 0x66, 0x55, 0x44, 0, 0, 0};
  EXPECT_EQ(0, memcmp(bottom, file.data() + 54, 12));
  EXPECT_EQ(0, memcmp(upper, file.data() + 66, 12));
}

struct NameCase {
  const char* what;
  std::string fileName;
  int representable;
  int tooLong, outside, empty, wildcard, notBmp;
};

TEST(CheckSkinFileName, FindsWhatKeepsASkinOutOfTheMenu) {
  const NameCase cases[] = {
      {"plain", "night.bmp", 1, 0, 0, 0, 0, 0},
      {"99 bytes fit", std::string(99, 'a') + ".bmp", 1, 0, 0, 0, 0, 0},
      {"100 bytes do not", std::string(100, 'a') + ".bmp", 1, 1, 0, 0, 0, 0},
      {"Shift-JIS bytes count as bytes", std::string(50, '\x83') + std::string(50, 'A') + ".BMP", 1,
       1, 0, 0, 0, 0},
      {"lost characters (said once, not also as a '?')", "bird?.bmp", 0, 0, 1, 0, 0, 0},
      {"an ampersand is shown as written", "R&B.bmp", 1, 0, 0, 0, 0, 0},
      {"not a .bmp", "bird.png", 1, 0, 0, 0, 0, 1},
      {"nothing left without .bmp: the name keeps its dot", ".bmp", 1, 0, 0, 1, 0, 0},
      {"a name of one dot is found again", "..bmp", 1, 0, 0, 0, 0, 0},
      {"a question mark", "bird?.bmp", 1, 0, 0, 0, 1, 0},
      {"an asterisk", "*.bmp", 1, 0, 0, 0, 1, 0},
      {"far too long for any buffer", std::string(2000, 'b') + ".bmp", 1, 1, 0, 0, 0, 0},
      // Found by a *.bmp search through their short names only: none of them is NAME.bmp.
      {"a longer extension", "bird.bmpx", 1, 0, 0, 0, 0, 1},
      {"a trailing dot", "x.bmp.", 1, 0, 0, 0, 0, 1},
      {"a trailing tilde", "zz.bmp~", 1, 0, 0, 0, 0, 1},
  };
  for (const NameCase& c : cases) {
    SkinNameFacts facts;
    CheckSkinFileName(c.fileName.c_str(), c.representable, &facts);
    EXPECT_EQ(c.tooLong, facts.tooLong) << c.what;
    EXPECT_EQ(c.outside, facts.outsideCodePage) << c.what;
    EXPECT_EQ(c.empty, facts.emptyName) << c.what;
    EXPECT_EQ(c.wildcard, facts.wildcard) << c.what;
    EXPECT_EQ(c.notBmp, facts.notBmp) << c.what;
    // The kit turns away exactly the file names the catalogue leaves out.
    EXPECT_EQ(!IsSkinFileName(c.fileName.c_str()), facts.notBmp || facts.emptyName) << c.what;
  }
}

namespace {

// A skin of 10 x 10 with some pixels cut and a fine name; cases change one thing.
SkinFacts FineSkin() {
  SkinFacts facts = {};
  facts.header.width = 10;
  facts.header.height = 10;
  facts.header.bitsPerPixel = 24;
  facts.shapeRects = 10;
  facts.pixels.runs = 10;
  facts.pixels.cutPixels = 40;
  CheckSkinFileName("bird.bmp", 1, &facts.name);
  return facts;
}

std::string Found(const SkinFacts& facts, int* verdict) {
  int found[kFindingCount];
  *verdict = JudgeSkin(&facts, found);
  std::string text;
  for (int f = 0; f < kFindingCount; ++f) text += found[f] ? std::to_string(f) + " " : "";
  return text;
}

}  // namespace

TEST(JudgeSkin, VerdictIsTheWorstFinding) {
  struct Case {
    const char* what;
    void (*change)(SkinFacts*);
    int verdict;
    SkinFinding finding;  // kFindingCount: none
  };
  const Case cases[] = {
      {"fine", [](SkinFacts*) {}, kSkinFine, kFindingCount},
      {"half a screen", [](SkinFacts* f) { f->header.width = 960, f->header.height = 540; },
       kSkinFine, kFindingCount},
      {"wider than half a screen", [](SkinFacts* f) { f->header.width = 961; }, kSkinWarnings,
       kFindingLarge},
      {"taller than half a screen", [](SkinFacts* f) { f->header.height = 541; }, kSkinWarnings,
       kFindingLarge},
      {"top-down", [](SkinFacts* f) { f->header.topDown = 1; }, kSkinWarnings, kFindingTopDown},
      {"top-down: pixels Perchling cannot read are not judged",
       [](SkinFacts* f) { f->header.topDown = 1, f->pixels.cutPixels = 0, f->shapeRects = 30000; },
       kSkinWarnings, kFindingTopDown},
      {"nothing cut", [](SkinFacts* f) { f->pixels.cutPixels = 0; }, kSkinWarnings,
       kFindingNothingCut},
      {"all cut (the bottom row too, said once)",
       [](SkinFacts* f) {
         f->pixels.cutPixels = 100;
         f->shapeRects = 0;
         f->pixels.titleRowsCut = 1;
       },
       kSkinUnusable, kFindingAllCut},
      {"one below slow", [](SkinFacts* f) { f->shapeRects = 5999; }, kSkinFine, kFindingCount},
      {"slow", [](SkinFacts* f) { f->shapeRects = 6000; }, kSkinWarnings, kFindingSlowShape},
      {"one below hidden", [](SkinFacts* f) { f->shapeRects = 24999; }, kSkinWarnings,
       kFindingSlowShape},
      {"hidden, not also slow", [](SkinFacts* f) { f->shapeRects = 25000; }, kSkinUnusable,
       kFindingHiddenShape},
      {"the shape's rectangles count, not its runs", [](SkinFacts* f) { f->pixels.runs = 60000; },
       kSkinFine, kFindingCount},
      {"fringe", [](SkinFacts* f) { f->pixels.fringePixels = 1; }, kSkinWarnings, kFindingFringe},
      {"nothing drawn over the title bar", [](SkinFacts* f) { f->pixels.titleRowsCut = 1; },
       kSkinWarnings, kFindingFloats},
      {"long name", [](SkinFacts* f) { f->name.tooLong = 1; }, kSkinUnusable, kFindingNameTooLong},
      {"name outside the code page", [](SkinFacts* f) { f->name.outsideCodePage = 1; },
       kSkinUnusable, kFindingNameCodePage},
      {"nothing left without .bmp", [](SkinFacts* f) { f->name.emptyName = 1; }, kSkinUnusable,
       kFindingNameEmpty},
      {"a wildcard", [](SkinFacts* f) { f->name.wildcard = 1; }, kSkinUnusable,
       kFindingNameWildcard},
      {"not .bmp", [](SkinFacts* f) { f->name.notBmp = 1; }, kSkinUnusable, kFindingNameNotBmp},
      {"not listed by the menu", [](SkinFacts* f) { f->name.notListed = 1; }, kSkinUnusable,
       kFindingNotListed},
  };
  for (const Case& c : cases) {
    SkinFacts facts = FineSkin();
    c.change(&facts);
    int verdict;
    std::string found = Found(facts, &verdict);
    EXPECT_EQ(c.verdict, verdict) << c.what;
    EXPECT_EQ(c.finding == kFindingCount ? "" : std::to_string(c.finding) + " ", found) << c.what;
  }
}

TEST(FormatSkinReport, NamesTheFringeCoordinatesAndTheVerdict) {
  SkinFacts facts = FineSkin();
  facts.pixels.fringePixels = 7;
  facts.pixels.fringeShown = 2;
  facts.pixels.fringeX[0] = 4;
  facts.pixels.fringeY[0] = 0;
  facts.pixels.fringeX[1] = 9;
  facts.pixels.fringeY[1] = 3;
  ReportText report = {};
  EXPECT_EQ(kSkinWarnings, FormatSkinReport("bird.bmp", &facts, &report));
  std::string text = report.text;
  EXPECT_EQ(0u, text.find("bird.bmp\n"));
  EXPECT_NE(std::string::npos, text.find("(4, 0) (9, 3) ...")) << text;
  EXPECT_NE(std::string::npos, text.find(" 7 ")) << text;
  EXPECT_NE(std::string::npos, text.find("40.0 %")) << text;
  EXPECT_EQ(0, report.cut);
  facts.fromJpeg = 1;  // then JPEG is named, not BMP
  ReportText jpeg = {};
  FormatSkinReport("bird.bmp", &facts, &jpeg);
  EXPECT_EQ(std::string::npos, std::string(jpeg.text).find("BMP を変換")) << jpeg.text;
  EXPECT_NE(std::string::npos, std::string(jpeg.text).find("JPEG は")) << jpeg.text;
}

TEST(AnswersYes, OnlyAYSaysYes) {
  const std::pair<const char*, int> answers[] = {
      {"y\n", 1}, {"Y", 1}, {"  yes\n", 1}, {"\n", 0}, {"", 0}, {"n\n", 0}, {"no y\n", 0}};
  for (const auto& answer : answers) EXPECT_EQ(answer.second, AnswersYes(answer.first)) << answer.first;
}

TEST(AppendText, LeavesOutWhatDoesNotFitWhole) {
  ReportText report = {};
  std::string big(kReportTextSize - 10, 'x');
  AppendText(&report, "%s", big.c_str());
  AppendText(&report, "%s", "0123456789");
  EXPECT_EQ(big, report.text);
  EXPECT_EQ(1, report.cut);
  AppendText(&report, "%s", "ok");
  EXPECT_EQ(big + "ok", report.text) << "a later text that fits still goes in";
}

TEST(ChooseCommand, TheFirstWordDecides) {
  const std::pair<std::vector<const wchar_t*>, KitCommand> lines[] = {
      {{L"perchskin"}, kCommandNone},          {{L"k", L"--help"}, kCommandHelp},
      {{L"k", L"/?"}, kCommandHelp},           {{L"k", L"convert", L"a"}, kCommandConvert},
      {{L"k", L"check"}, kCommandCheck},       {{L"k", L"bird.png", L"check"}, kCommandDrop},
      {{L"k", L"Check"}, kCommandDrop},        {{L"k", L"--bogus"}, kCommandWrong},
  };
  for (const auto& line : lines)
    EXPECT_EQ(line.second, ChooseCommand(int(line.first.size()), line.first.data())) << line.second;
}

TEST(ParseConvertArguments, TwoFilesAndTheThresholdAnywhere) {
  const struct {
    std::vector<const wchar_t*> arguments;
    ConvertParse parsed;
    int threshold;
    int keyBackground = 0, fit = 0;
  } cases[] = {
      {{L"in", L"out"}, kConvertParsed, 128},
      {{L"--fit", L"in", L"--key-background", L"out"}, kConvertParsed, 128, 1, 1},
      {{L"--alpha-threshold", L"0", L"in", L"out"}, kConvertParsed, 0},
      {{L"in", L"--alpha-threshold", L"255", L"out"}, kConvertParsed, 255},
      {{L"in", L"out", L"--alpha-threshold", L"256"}, kConvertBadThreshold, 0},
      {{L"in", L"out", L"--alpha-threshold"}, kConvertBadThreshold, 0},
      {{L"in"}, kConvertBadArguments, 0},
      {{L"in", L"out", L"more"}, kConvertBadArguments, 0},
  };
  for (const auto& c : cases) {
    ConvertRequest request;
    ASSERT_EQ(c.parsed, ParseConvertArguments(int(c.arguments.size()), c.arguments.data(), &request));
    if (c.parsed != kConvertParsed) continue;
    EXPECT_EQ(c.threshold, request.alphaThreshold);
    EXPECT_EQ(c.keyBackground * 2 + c.fit, request.keyBackground * 2 + request.fit);
    EXPECT_EQ(std::wstring(L"in") + L"out", std::wstring(request.input) + request.output);
  }
}

TEST(FileNamePart, TheNameAfterTheFolderAndTheSkinNameBeforeItsExtension) {
  const struct {
    const wchar_t* path;
    const wchar_t* fileName;
    size_t skinName;
  } cases[] = {{L"C:\\a\\bird.png", L"bird.png", 4}, {L"C:bird.x.png", L"bird.x.png", 6},
               {L"a/b\\.png", L".png", 4},          {L"Z:\\dir\\noext", L"noext", 5},
               {L"bird.", L"bird.", 4},              {L"C:\\", L"", 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(std::wstring(c.fileName), FileNamePart(c.path));
    EXPECT_EQ(c.skinName, SkinNameLength(FileNamePart(c.path))) << c.fileName;
  }
}

TEST(CutShownName, ALongNameGivesWayAtACharactersStart) {
  const struct {
    std::string name;
    size_t size;
    std::string shown;
  } cases[] = {{"bird.bmp", 9, "bird.bmp"}, {"C:\\deep\\bird.bmp", 12, "...bird.bmp"},
               {"ab\xE9\xB3\xA5\xE9\xB3\xA5.bmp", 10, "....bmp"}, {"abcdef", 4, ""}};  // no half 鳥
  for (const auto& c : cases) {
    char shown[16];
    CutShownName(c.name.c_str(), shown, c.size);
    EXPECT_EQ(c.shown, shown) << c.name;
  }
}

TEST(IsOwnConsole, OnlyTheKitOnAConsoleThatIsItsInput) {
  EXPECT_EQ(1, IsOwnConsole(1, 1)) << "a drop or a double-click";
  // A command prompt's console; no console (a script's pipes); input from a pipe or a file.
  EXPECT_EQ(0, IsOwnConsole(2, 1) + IsOwnConsole(0, 0) + IsOwnConsole(1, 0));
}
