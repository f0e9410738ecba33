// What the skin kit says about a skin: the findings on its pixels, format and name, the verdict
// they add up to (the kit's exit code), and the report text. Plain C++ without Windows headers;
// the texts come from skinkit/kit_texts.h.
#pragma once
#include <stddef.h>

#include "skinkit/bmp_header.h"
#include "skinkit/skin_pixels.h"

// Verdicts, worst last; each is also the exit code.
enum {
  kSkinFine = 0,
  kSkinWarnings = 1,
  kSkinUnusable = 2,  // Perchling could not use it, or the kit could not do what was asked
};

struct SkinNameFacts {
  size_t nameBytes;     // the skin name's length: the file name without its extension
  int tooLong;          // the catalogue skips names longer than kMaxSkinNameBytes
  int outsideCodePage;  // the name has characters the system's ANSI code page cannot hold
  int emptyName;        // nothing is left without ".bmp": the skin would be looked for elsewhere
  int wildcard;         // '?' or '*', which a file search takes for any characters
  int notBmp;           // only *.bmp files are listed
};

// Checks a file name without its folder, given in the system's ANSI code page; representable is
// 0 if characters were lost converting it to that code page.
void CheckSkinFileName(const char* fileName, int representable, SkinNameFacts* facts);

enum SkinFinding {
  kFindingLarge,
  kFindingTopDown,
  kFindingNothingCut,
  kFindingAllCut,
  kFindingSlowShape,
  kFindingHiddenShape,
  kFindingFringe,
  kFindingFloats,
  kFindingNameTooLong,
  kFindingNameCodePage,
  kFindingNameEmpty,
  kFindingNameWildcard,
  kFindingNameNotBmp,
  kFindingCount
};

struct SkinFacts {
  BmpHeader header;
  SkinPixelFacts pixels;
  size_t shapeRects;  // rectangles of the window's shape, as the platform keeps it
  SkinNameFacts name;
};

// Sets found[f] to 1 for every finding f that applies (0 for the others) and returns the
// verdict: the worst severity found.
int JudgeSkin(const SkinFacts* facts, int found[kFindingCount]);

// A report's text, bounded: what does not fit is left out and cut says so.
enum { kReportTextSize = 4096 };
struct ReportText {
  char text[kReportTextSize];
  size_t length;
  int cut;
};

// GCC and Clang check a printf-like function's fields against its format; other compilers (MSVC)
// take the plain declaration.
#if defined(__GNUC__)
#define PRINTF_LIKE(formatIndex, firstField) \
  __attribute__((format(printf, formatIndex, firstField)))
#else
#define PRINTF_LIKE(formatIndex, firstField)
#endif

// Appends a printf-formatted text; a text that does not fit whole is not appended at all.
void AppendText(ReportText* report, const char* format, ...) PRINTF_LIKE(2, 3);

// Appends the report on one skin (its name as the first line) and returns the verdict.
int FormatSkinReport(const char* fileName, const SkinFacts* facts, ReportText* report);
