// The skin kit's verdicts and report. Severities live in one table; the texts with fields are
// formatted where they are appended.
#include "skinkit/skin_report.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "base/follow.h"
#include "base/skin_names.h"
#include "res/texts.h"
#include "skinkit/kit_texts.h"

// Each finding with its severity and its text; AppendFinding fills the fields of the ones that
// have any.
struct FindingRow {
  SkinFinding finding;
  int severity;
  const char* text;
};

static const FindingRow kFindings[] = {
    {kFindingLarge, kSkinWarnings, TEXT_KIT_LARGE},
    {kFindingTopDown, kSkinWarnings, TEXT_KIT_TOP_DOWN},
    {kFindingNothingCut, kSkinWarnings, TEXT_KIT_NOTHING_CUT},
    {kFindingAllCut, kSkinUnusable, TEXT_KIT_ALL_CUT},
    {kFindingSlowShape, kSkinWarnings, TEXT_KIT_SLOW_SHAPE},
    {kFindingHiddenShape, kSkinUnusable, TEXT_KIT_HIDDEN_SHAPE},
    {kFindingFringe, kSkinWarnings, TEXT_KIT_FRINGE},
    {kFindingFloats, kSkinWarnings, TEXT_KIT_FLOATS},
    {kFindingNameTooLong, kSkinUnusable, TEXT_KIT_NAME_TOO_LONG},
    {kFindingNameCodePage, kSkinUnusable, TEXT_KIT_NAME_CODE_PAGE},
    {kFindingNameEmpty, kSkinUnusable, TEXT_KIT_NAME_EMPTY},
    {kFindingNameWildcard, kSkinUnusable, TEXT_KIT_NAME_WILDCARD},
    {kFindingNameNotBmp, kSkinUnusable, TEXT_KIT_NAME_NOT_BMP},
    {kFindingNotListed, kSkinUnusable, TEXT_KIT_NOT_LISTED},
};

void CheckSkinFileName(const char* fileName, int representable, SkinNameFacts* facts) {
  memset(facts, 0, sizeof *facts);
  facts->notBmp = !HasSkinExtension(fileName);
  facts->outsideCodePage = !representable;
  // Neither '?' nor '*' is ever the second byte of a double-byte character in any ANSI code page.
  // A character lost to the code page comes back as '?': that is said once, as the loss.
  facts->wildcard = representable && strpbrk(fileName, "?*") != NULL;
  // The skin name is what the catalogue keeps: the file name without its last extension. A name
  // that does not even fit the work buffer is certainly too long.
  char name[kKitPathSize];
  size_t length = strlen(fileName);
  facts->nameBytes = length;
  facts->tooLong = length > size_t(kMaxSkinNameBytes);
  if (length >= sizeof name) return;
  memcpy(name, fileName, length + 1);
  StripExtension(name);
  facts->nameBytes = strlen(name);
  facts->tooLong = facts->nameBytes > size_t(kMaxSkinNameBytes);
  // Perchling opens NAME.bmp. A name whose only dot is its first keeps it (".bmp" stays ".bmp"),
  // so NAME.bmp is another file: nothing is left of the name once ".bmp" is off.
  facts->emptyName = !facts->notBmp && facts->nameBytes + kSkinExtensionLength != length;
}

int JudgeSkin(const SkinFacts* facts, int found[kFindingCount]) {
  const SkinPixelFacts& pixels = facts->pixels;
  size_t area = size_t(facts->header.width) * size_t(facts->header.height);
  int seen = !facts->header.topDown;
  int allCut = seen && pixels.cutPixels == area;
  for (int f = 0; f < kFindingCount; ++f) found[f] = 0;
  found[kFindingLarge] =
      facts->header.width > kLargeSkinWidth || facts->header.height > kLargeSkinHeight;
  found[kFindingTopDown] = !seen;
  found[kFindingNothingCut] = seen && pixels.cutPixels == 0;
  found[kFindingAllCut] = allCut;
  found[kFindingHiddenShape] = seen && facts->shapeRects >= size_t(kHiddenShapeRects);
  found[kFindingSlowShape] =
      seen && !found[kFindingHiddenShape] && facts->shapeRects >= size_t(kSlowShapeRects);
  found[kFindingFringe] = seen && pixels.fringePixels > 0;
  found[kFindingFloats] = seen && pixels.titleRowsCut && !allCut;
  found[kFindingNameTooLong] = facts->name.tooLong;
  found[kFindingNameCodePage] = facts->name.outsideCodePage;
  found[kFindingNameEmpty] = facts->name.emptyName;
  found[kFindingNameWildcard] = facts->name.wildcard;
  found[kFindingNameNotBmp] = facts->name.notBmp;
  found[kFindingNotListed] = facts->name.notListed;
  int verdict = kSkinFine;
  for (size_t i = 0; i < sizeof kFindings / sizeof kFindings[0]; ++i) {
    if (found[kFindings[i].finding] && kFindings[i].severity > verdict)
      verdict = kFindings[i].severity;
  }
  return verdict;
}

void AppendText(ReportText* report, const char* format, ...) {
  size_t room = sizeof report->text - report->length;
  va_list arguments;
  va_start(arguments, format);
  int written = vsnprintf(report->text + report->length, room, format, arguments);
  va_end(arguments);
  if (written < 0 || size_t(written) >= room) {
    report->text[report->length] = 0;  // what did not fit is left out whole
    report->cut = 1;
    return;
  }
  report->length += size_t(written);
}

static const char* CompressionName(uint32_t compression) {
  switch (compression) {
    case kBmpRle8:
      return TEXT_KIT_COMPRESSION_RLE8;
    case kBmpRle4:
      return TEXT_KIT_COMPRESSION_RLE4;
    case kBmpBitFields:
      return TEXT_KIT_COMPRESSION_BITFIELDS;
    default:
      return TEXT_KIT_COMPRESSION_NONE;
  }
}

// A colour's red, green and blue as three printf fields.
#define COLOUR_FIELDS(colour) \
  int(((colour) >> 16) & 0xFF), int(((colour) >> 8) & 0xFF), int((colour)&0xFF)

// Appends the row's text, its fields (if it has any) filled from the facts.
static void AppendFinding(const FindingRow& row, const SkinFacts* facts, ReportText* report) {
  if (row.finding == kFindingLarge) {
    int fitWidth, fitHeight;
    FitInside(facts->header.width, facts->header.height, kLargeSkinWidth, kLargeSkinHeight,
              &fitWidth, &fitHeight);
    AppendText(report, row.text, facts->header.width, facts->header.height, int(kLargeSkinWidth),
               int(kLargeSkinHeight), fitWidth, fitHeight);
  } else if (row.finding == kFindingNotListed) {
    AppendText(report, row.text, int(kMaxSkins));
  } else if (row.finding == kFindingNameTooLong) {
    AppendText(report, row.text, unsigned(facts->name.nameBytes), int(kMaxSkinNameBytes));
  } else if (row.finding == kFindingFloats) {
    AppendText(report, row.text, int(kTitleOverlap));
  } else if (row.finding == kFindingNothingCut && facts->pixels.plainBackground) {
    AppendText(report, TEXT_KIT_NOTHING_CUT_PLAIN, COLOUR_FIELDS(facts->pixels.background));
  } else if (row.finding == kFindingFringe) {
    // Coordinates are at most kMaxPictureSide: each point fits its 32 bytes.
    const SkinPixelFacts& pixels = facts->pixels;
    char points[kFringeExamples * 32 + 8] = "";
    size_t used = 0;
    for (int i = 0; i < pixels.fringeShown; ++i) {
      int n = snprintf(points + used, sizeof points - used, "%s" TEXT_KIT_POINT,
                       i ? TEXT_KIT_POINT_SEPARATOR : "", pixels.fringeX[i], pixels.fringeY[i]);
      if (n > 0 && size_t(n) < sizeof points - used) used += size_t(n);
    }
    if (pixels.fringePixels > size_t(pixels.fringeShown))
      snprintf(points + used, sizeof points - used, "%s", TEXT_KIT_MORE_POINTS);
    AppendText(report, row.text, unsigned(pixels.fringePixels), points);
    AppendText(report, "%s", facts->fromJpeg ? TEXT_KIT_FRINGE_JPEG : TEXT_KIT_FRINGE_ADVICE);
  } else {
    AppendText(report, "%s", row.text);
  }
}

// The row of a finding.
static const FindingRow& FindingRowOf(SkinFinding finding) {
  size_t i = 0;
  while (i + 1 < sizeof kFindings / sizeof kFindings[0] && kFindings[i].finding != finding) ++i;
  return kFindings[i];
}

void AppendUsage(ReportText* report) {
  AppendText(report, TEXT_KIT_USAGE, int(kDefaultAlphaThreshold), COLOUR_FIELDS(kSkinKey),
             COLOUR_FIELDS(kNudgedMagenta), int(kLargeSkinWidth), int(kLargeSkinHeight));
}

void AppendConversion(ReportText* report, const char* inName, const char* outName, int width,
                      int height, const PreparedFacts* facts, int tellNothingCut) {
  AppendText(report, TEXT_KIT_CONVERTED, inName, outName, unsigned(facts->cut),
             COLOUR_FIELDS(kNudgedMagenta), unsigned(facts->nudged));
  if (facts->magentaDots) AppendText(report, TEXT_KIT_OPAQUE_PICTURE, COLOUR_FIELDS(kSkinKey));
  if (facts->backgroundKeyed)
    AppendText(report, TEXT_KIT_BACKGROUND_KEYED, COLOUR_FIELDS(facts->background));
  if (facts->width != width || facts->height != height)
    AppendText(report, TEXT_KIT_SHRUNK, width, height, facts->width, facts->height);
  if (!facts->cut && tellNothingCut) {
    SkinFacts none = {};
    AppendFinding(FindingRowOf(kFindingNothingCut), &none, report);
  }
}

int FormatSkinReport(const char* fileName, const SkinFacts* facts, ReportText* report) {
  int found[kFindingCount];
  int verdict = JudgeSkin(facts, found);
  const BmpHeader& header = facts->header;
  size_t area = size_t(header.width) * size_t(header.height);
  unsigned perMille = area ? unsigned(facts->pixels.cutPixels * 1000 / area) : 0;
  AppendText(report, TEXT_KIT_REPORT_FILE, fileName);
  AppendText(report, TEXT_KIT_REPORT_FORMAT, header.width, header.height, header.bitsPerPixel,
             CompressionName(header.compression));
  if (!facts->header.topDown) {
    AppendText(report, TEXT_KIT_REPORT_CUT, perMille / 10, perMille % 10);
    AppendText(report, TEXT_KIT_REPORT_RECTS, unsigned(facts->shapeRects), int(kSlowShapeRects),
               int(kHiddenShapeRects));
  }
  for (const FindingRow& row : kFindings) {
    if (found[row.finding]) AppendFinding(row, facts, report);
  }
  AppendText(report, "%s",
             verdict == kSkinFine       ? TEXT_KIT_VERDICT_FINE
             : verdict == kSkinWarnings ? TEXT_KIT_VERDICT_WARNINGS
                                        : TEXT_KIT_VERDICT_UNUSABLE);
  return verdict;
}

// A menu item's text as the menu reads: without its access key, "(&U)".
static void AppendMenuWords(ReportText* report, const char* menuText) {
  const char* key = strstr(menuText, "(&");
  AppendText(report, "%.*s", key ? int(key - menuText) : int(strlen(menuText)), menuText);
}

void AppendNextStep(ReportText* report, const char* skinName, const char* fileName,
                    int inSkinFolder) {
  // The path through the menu: right-click, rescan, then the new skin in the skins submenu.
  ReportText path = {};
  AppendText(&path, "%s" TEXT_KIT_MENU_ARROW, TEXT_KIT_RIGHT_CLICK);
  AppendMenuWords(&path, TEXT_MENU_RESCAN);
  AppendText(&path, TEXT_KIT_MENU_ARROW);
  AppendMenuWords(&path, TEXT_MENU_SKINS);
  AppendText(&path, TEXT_KIT_MENU_ARROW "%s", skinName);
  if (inSkinFolder) {
    AppendText(report, TEXT_KIT_NEXT_STEP, path.text);
  } else {
    AppendText(report, TEXT_KIT_NEXT_STEP_COPY, fileName, path.text);
  }
}

int AnswersYes(const char* answer) {
  while (*answer == ' ' || *answer == '\t') ++answer;
  return *answer == 'y' || *answer == 'Y';
}
