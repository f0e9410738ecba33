// The skin kit's commands, from a picture to a skin and a report.
#include "skinkit/kit_commands.h"

#include <stdlib.h>
#include <wchar.h>

#include "skinkit/bmp_header.h"
#include "skinkit/kit_console.h"
#include "skinkit/kit_decisions.h"
#include "skinkit/kit_paths.h"
#include "skinkit/kit_texts.h"
#include "skinkit/picture_files.h"
#include "skinkit/prepare_pixels.h"
#include "skinkit/skin_pixels.h"
#include "skinkit/skin_report.h"

// A picture made into a 24-bit skin file in memory, and what making it did.
struct SkinFile {
  uint8_t* bytes;  // malloc'ed; released with free()
  size_t size;
  int width, height;  // the picture's; facts has the skin's
  int jpeg;           // the picture is a JPEG
  PreparedFacts facts;
};

// Decodes the picture at inPath and makes it a skin file in memory as options say. Returns
// kSkinFine, or prints the refusal and returns kSkinUnusable.
static int MakeSkinFile(const wchar_t* inPath, const PrepareOptions* options, SkinFile* skin) {
  skin->bytes = NULL;
  DecodedPicture picture;
  PictureResult decoded = DecodePicture(inPath, &picture);
  if (decoded == kPictureMissing) return Refuse(TEXT_KIT_MISSING, inPath);
  if (decoded == kPictureTooLarge)
    return Refuse(TEXT_KIT_TOO_LARGE, inPath, picture.width, picture.height, kMaxPictureSide);
  if (decoded != kPictureOk) return Refuse(TEXT_KIT_UNREADABLE, inPath);
  skin->width = picture.width;
  skin->height = picture.height;
  skin->jpeg = picture.jpeg;
  // The skin's pixel values take the place of the BGRA bytes they come from.
  uint32_t* pixels = reinterpret_cast<uint32_t*>(picture.bgra);
  if (PrepareSkinPixels(picture.bgra, picture.width, picture.height, options, pixels,
                        &skin->facts)) {
    skin->size = Bmp24FileSize(skin->facts.width, skin->facts.height);
    skin->bytes = static_cast<uint8_t*>(malloc(skin->size));
    if (skin->bytes) WriteBmp24(pixels, skin->facts.width, skin->facts.height, skin->bytes);
  }
  FreePicture(&picture);
  return skin->bytes ? kSkinFine : Refuse(TEXT_KIT_CANNOT_WRITE, inPath);
}

// Prints what a conversion did; see AppendConversion.
static void ReportConversion(const wchar_t* inPath, const wchar_t* outPath, const SkinFile* skin,
                             int tellNothingCut) {
  char inName[kShownNameSize], outName[kShownNameSize];
  ShowName(inPath, inName, sizeof inName);
  ShowName(outPath, outName, sizeof outName);
  ReportText report = {};
  AppendConversion(&report, inName, outName, skin->width, skin->height, &skin->facts,
                   tellNothingCut);
  WriteText(STD_OUTPUT_HANDLE, report.text);
}

// The refusal for a write that did not happen.
static int RefuseWrite(WriteResult written, const wchar_t* outPath) {
  return Refuse(written == kWriteExists ? TEXT_KIT_EXISTS : TEXT_KIT_CANNOT_WRITE, outPath);
}

// Converts a picture into a 24-bit skin at outPath. The input itself is never overwritten, and
// an output that is replaced stays as it was unless the new one is written whole.
static int ConvertPicture(const ConvertRequest* request) {
  const wchar_t *inPath = request->input, *outPath = request->output;
  if (!PathExists(inPath)) return Refuse(TEXT_KIT_MISSING, inPath);
  if (IsSameFile(inPath, outPath)) return Refuse(TEXT_KIT_SAME_FILE, outPath);
  PrepareOptions options = {request->keyBackground, request->fit, request->alphaThreshold};
  SkinFile skin;
  if (MakeSkinFile(inPath, &options, &skin) != kSkinFine) return kSkinUnusable;
  WriteResult written = ReplaceWholeFile(outPath, skin.bytes, skin.size);
  free(skin.bytes);
  if (written != kWriteOk) return RefuseWrite(written, outPath);
  ReportConversion(inPath, outPath, &skin, 1);
  return kSkinFine;
}

// The refusal for a header the kit will not hand to the loader.
static int RefuseHeader(BmpHeaderResult result, const BmpHeader& header, const wchar_t* path) {
  switch (result) {
    case kBmpNotBmp: {
      // Worth converting only if it is a picture at all.
      DecodedPicture picture;
      PictureResult decoded = DecodePicture(path, &picture);
      FreePicture(&picture);
      return Refuse(decoded == kPictureOk || decoded == kPictureTooLarge ? TEXT_KIT_NOT_BMP
                                                                         : TEXT_KIT_NO_PICTURE,
                    path);
    }
    case kBmpBadSize:
      return Refuse(TEXT_KIT_BAD_SIZE, path);
    case kBmpTooLarge:
      return Refuse(TEXT_KIT_TOO_LARGE, path, header.width, header.height, kMaxPictureSide);
    case kBmpUnsupported:
      return Refuse(TEXT_KIT_UNSUPPORTED, path, header.bitsPerPixel, int(header.compression));
    case kBmpTruncated:
      return Refuse(TEXT_KIT_TRUNCATED, path);
    default:
      return Refuse(TEXT_KIT_BAD_HEADER, path);
  }
}

// Judges the skin file at path as the skin judgedAs (its name, and with a skin folder the path
// it has there and whether the menu lists it) and appends its report; returns its verdict. A
// refusal is printed at once, under judgedAs. fromJpeg: the skin was made from a JPEG.
static int JudgeSkinFile(const wchar_t* path, const wchar_t* judgedAs, const wchar_t* skinFolder,
                         int fromJpeg, ReportText* report) {
  SkinFacts facts = {};
  facts.fromJpeg = fromJpeg;
  // A device's name is never read: opening it opens the device, not a picture.
  CheckFileNameOf(judgedAs, &facts.name);
  if (facts.name.device) return Refuse(TEXT_KIT_DEVICE_NAME, judgedAs);
  uint8_t start[kBmpHeaderBytes];
  size_t length;
  uint64_t fileSize;
  PictureResult read = ReadFileStart(path, start, sizeof start, &length, &fileSize);
  if (read == kPictureMissing) return Refuse(TEXT_KIT_MISSING, judgedAs);
  if (read != kPictureOk) return Refuse(TEXT_KIT_UNREADABLE, judgedAs);
  BmpHeaderResult parsed = ParseBmpHeader(start, length, fileSize, &facts.header);
  if (parsed != kBmpOk) return RefuseHeader(parsed, facts.header, path);
  if (skinFolder[0]) {
    wchar_t counted[kKitPathSize];
    size_t pathBytes = SkinPathBytes(skinFolder, judgedAs, counted);
    if (pathBytes > size_t(kMaxSkinPathBytes))
      return Refuse(TEXT_KIT_PATH_TOO_LONG, counted, int(pathBytes), kMaxSkinPathBytes);
    facts.name.notListed = !IsListedInMenu(skinFolder, judgedAs);
  }

  // Pixels stored top row first are not read: Perchling cannot read them so either.
  if (!facts.header.topDown) {
    int noCopy = 0;
    uint32_t* pixels =
        LoadSkinPixels(path, facts.header.width, facts.header.height, &facts.shapeRects, &noCopy);
    if (!pixels) return Refuse(noCopy ? TEXT_KIT_NO_COPY : TEXT_KIT_LOAD_FAILED, judgedAs);
    MeasureSkinPixels(pixels, facts.header.width, facts.header.height, &facts.pixels);
    facts.pixels.plainBackground = WouldKeyBackground(
        pixels, facts.header.width, facts.header.height, &facts.pixels.background);
    free(pixels);
  }

  char shown[kShownNameSize];
  ShowName(judgedAs, shown, sizeof shown);
  return FormatSkinReport(shown, &facts, report);
}

// Checks one skin and prints its report; returns its verdict. With a skin folder, the path that
// counts is the one the skin has there, wherever the file lies now; without one, its name alone.
static int CheckSkin(const wchar_t* path, const wchar_t* skinFolder) {
  ReportText report = {};
  int verdict = JudgeSkinFile(path, path, skinFolder, 0, &report);
  WriteText(STD_OUTPUT_HANDLE, report.text);
  return verdict;
}

// Makes a dropped picture the skin at skinPath (in skinFolder, or beside the picture when that is
// ""), judged before anything lands there: the skin is written to a temporary file of the kit's
// own in skinPath's folder, judged as skinPath, and moved into place only when usable, so an
// unusable one leaves the folder as it was. A file at skinPath is replaced only when the person
// who dropped the picture says so, once the skin is judged; with inPlace, the picture is itself
// skinPath and is replaced by its skin without asking.
static int MakeDroppedSkin(const wchar_t* picture, const wchar_t* skinPath,
                           const wchar_t* skinFolder, int inPlace) {
  if (!PathExists(picture)) return Refuse(TEXT_KIT_MISSING, picture);
  if (!inPlace && IsSameFile(picture, skinPath)) return Refuse(TEXT_KIT_SAME_FILE, skinPath);
  // A path Perchling cannot open is said before anything is made: the kit might not even write
  // a file beside it.
  wchar_t counted[kKitPathSize];
  size_t pathBytes = skinFolder[0] ? SkinPathBytes(skinFolder, skinPath, counted) : 0;
  if (pathBytes > size_t(kMaxSkinPathBytes))
    return Refuse(TEXT_KIT_PATH_TOO_LONG, counted, int(pathBytes), kMaxSkinPathBytes);
  const PrepareOptions options = {1, 1, kDefaultAlphaThreshold};
  SkinFile skin;
  if (MakeSkinFile(picture, &options, &skin) != kSkinFine) return kSkinUnusable;
  wchar_t folder[kKitPathSize], temporary[kKitPathSize];
  lstrcpynW(folder, skinPath, int(FileNamePart(skinPath) - skinPath) + 1);
  WriteResult written = CreateTemporaryFile(folder, skin.bytes, skin.size, temporary, kKitPathSize);
  free(skin.bytes);
  if (written != kWriteOk) return RefuseWrite(written, skinPath);
  ReportText report = {};
  int verdict = JudgeSkinFile(temporary, skinPath, skinFolder, skin.jpeg, &report);
  WriteText(STD_OUTPUT_HANDLE, report.text);
  if (verdict == kSkinUnusable) {
    DeleteFileW(temporary);
    WriteText(STD_OUTPUT_HANDLE, TEXT_KIT_NOT_WRITTEN);
    return verdict;
  }
  written = MoveIntoPlace(temporary, skinPath, inPlace);
  if (written == kWriteExists && HasOwnConsole() && AskToReplace(skinPath))
    written = MoveIntoPlace(temporary, skinPath, 1);
  if (written != kWriteOk) {
    DeleteFileW(temporary);
    return RefuseWrite(written, skinPath);
  }
  ReportConversion(picture, skinPath, &skin, 0);
  return verdict;
}

// 1 if the file at path is a picture that Perchling cannot read as it is: another format inside,
// a kind of BMP its loader does not draw or draws from nothing, or rows stored top row first.
static int NeedsConverting(const wchar_t* path) {
  uint8_t start[kBmpHeaderBytes];
  size_t length;
  uint64_t fileSize;
  BmpHeader header;
  if (ReadFileStart(path, start, sizeof start, &length, &fileSize) != kPictureOk) return 0;
  BmpHeaderResult parsed = ParseBmpHeader(start, length, fileSize, &header);
  if (parsed == kBmpOk && !header.topDown) {
    size_t rects = 0;
    int noCopy = 0;
    uint32_t* pixels = LoadSkinPixels(path, header.width, header.height, &rects, &noCopy);
    free(pixels);
    if (pixels || noCopy) return 0;
  } else if (parsed != kBmpOk && parsed != kBmpNotBmp && parsed != kBmpUnsupported) {
    return 0;
  }
  DecodedPicture picture;
  PictureResult decoded = DecodePicture(path, &picture);
  FreePicture(&picture);
  return decoded == kPictureOk;
}

// Says what to do with a skin a dropped picture has become.
static void TellNextStep(const wchar_t* skin, int inSkinFolder) {
  char fileName[kShownNameSize], skinName[kShownNameSize];
  const wchar_t* name = FileNamePart(skin);
  ShowName(name, fileName, sizeof fileName);
  wchar_t bare[kKitPathSize];
  lstrcpynW(bare, name, int(SkinNameLength(name)) + 1);
  ShowName(bare, skinName, sizeof skinName);
  ReportText report = {};
  AppendNextStep(&report, skinName, fileName, inSkinFolder);
  WriteText(STD_OUTPUT_HANDLE, report.text);
}

// One picture dropped on the kit. With a skin folder, it becomes skin\NAME.bmp (NAME: its file
// name without its last extension); without one, NAME.bmp beside itself. A BMP that is that file
// already is only checked, unless Perchling cannot read it as it is (NeedsConverting): then it is
// converted in place, as the check's advice promises. The next step is said for every
// usable skin made or found in the skin folder.
static int HandleDroppedFile(const wchar_t* picture, const wchar_t* skinFolder) {
  const wchar_t* name = FileNamePart(picture);
  size_t nameLength = SkinNameLength(name);
  int inSkinFolder = skinFolder[0] != 0;
  wchar_t skin[kKitPathSize];
  if (!(inSkinFolder
            ? JoinSkinPath(skinFolder, wcslen(skinFolder), name, nameLength, skin, kKitPathSize)
            : JoinSkinPath(picture, size_t(name - picture), name, nameLength, skin, kKitPathSize)))
    return Refuse(TEXT_KIT_CANNOT_WRITE, picture);
  SkinNameFacts nameFacts;
  CheckFileNameOf(skin, &nameFacts);
  if (nameFacts.device) return Refuse(TEXT_KIT_DEVICE_NAME, skin);
  int verdict;
  if (IsBmpName(picture) && (!inSkinFolder || IsSameFile(picture, skin))) {
    lstrcpynW(skin, picture, kKitPathSize);
    int converting = NeedsConverting(picture);
    verdict =
        converting ? MakeDroppedSkin(picture, skin, skinFolder, 1) : CheckSkin(skin, skinFolder);
    if (verdict != kSkinUnusable && (converting || inSkinFolder)) TellNextStep(skin, inSkinFolder);
    return verdict;
  }
  verdict = MakeDroppedSkin(picture, skin, skinFolder, 0);
  if (verdict != kSkinUnusable) TellNextStep(skin, inSkinFolder);
  return verdict;
}

int HandleDroppedFiles(int count, const wchar_t* const* paths, const wchar_t* skinFolder) {
  int worst = kSkinFine;
  for (int i = 0; i < count; ++i) {
    int verdict = HandleDroppedFile(paths[i], skinFolder);
    if (verdict > worst) worst = verdict;
    WriteText(STD_OUTPUT_HANDLE, "\n");
  }
  return worst;
}

int RunConvert(int count, const wchar_t* const* arguments) {
  ConvertRequest request;
  ConvertParse parsed = ParseConvertArguments(count, arguments, &request);
  if (parsed != kConvertParsed) {
    WriteText(STD_ERROR_HANDLE,
              parsed == kConvertBadThreshold ? TEXT_KIT_BAD_THRESHOLD : TEXT_KIT_BAD_ARGUMENTS);
    return kSkinUnusable;
  }
  return ConvertPicture(&request);
}

int RunCheck(int count, const wchar_t* const* paths, const wchar_t* skinFolder) {
  if (count == 0) {
    WriteText(STD_ERROR_HANDLE, TEXT_KIT_BAD_ARGUMENTS);
    return kSkinUnusable;
  }
  int worst = kSkinFine;
  for (int i = 0; i < count; ++i) {
    int verdict = CheckSkin(paths[i], skinFolder);
    if (verdict > worst) worst = verdict;
  }
  return worst;
}
