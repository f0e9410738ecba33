// What the skin kit says about a skin: the findings on its pixels, format and name, the verdict
// they add up to (the kit's exit code), and the report text. Plain C++ without Windows headers;
// the texts come from skinkit/kit_texts.h.
#pragma once
#include <stddef.h>

#include "skinkit/bmp_header.h"
#include "skinkit/prepare_pixels.h"
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
  int notListed;        // the menu would not list it: kMaxSkins other names come first
  int device;  // a device's name (CON, CONIN$, COM1...), judged on the wide name (IsDeviceName)
};

// Checks a file name without its folder, given in the system's ANSI code page; representable is
// 0 if characters were lost converting it to that code page. device is left 0: a device's name is
// judged on the name as the system reads it.
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
  kFindingNotListed,
  kFindingCount
};

struct SkinFacts {
  BmpHeader header;
  SkinPixelFacts pixels;
  size_t shapeRects;  // rectangles of the window's shape, as the platform keeps it
  SkinNameFacts name;
  int fromJpeg;  // made from a JPEG: its colours are blurred, so magenta is seldom exact
};

// Sets found[f] to 1 for every finding f that applies (0 for the others) and returns the
// verdict: the worst severity found. The pixels of a top-down BMP are not judged: Perchling
// cannot read them as they are stored, so the measurements would describe another picture.
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

// Appends the usage, its numbers (the default threshold, the key and the kept magenta) filled in.
void AppendUsage(ReportText* report);

// Appends what a conversion of a width x height picture inName into outName did (facts): what
// was cut and kept, what it made transparent and how far it shrank it; for a picture with nothing
// to cut, if tellNothingCut, that nothing is cut.
void AppendConversion(ReportText* report, const char* inName, const char* outName, int width,
                      int height, const PreparedFacts* facts, int tellNothingCut);

// Appends the report on one skin (its name as the first line) and returns the verdict.
int FormatSkinReport(const char* fileName, const SkinFacts* facts, ReportText* report);

// Appends what to do once a dropped picture is the skin skinName: choose it in Perchling's menu,
// named in the menu's own words; unless inSkinFolder, copy the file (fileName) there first.
void AppendNextStep(ReportText* report, const char* skinName, const char* fileName,
                    int inSkinFolder);

// 1 if a typed answer (a line, its end of line included or not) says yes: its first character
// other than a space is 'y' or 'Y'. Anything else, Enter alone too, says no.
int AnswersYes(const char* answer);
