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
#include "skinkit/skin_pixels.h"
#include "skinkit/skin_report.h"

// A picture made into a 24-bit skin file in memory, and what keying it did.
struct SkinFile {
  uint8_t* bytes;  // malloc'ed; released with free()
  size_t size;
  KeyCounts counts;
};

// Decodes the picture at inPath and keys it into a skin file in memory. Returns kSkinFine, or
// prints the refusal and returns kSkinUnusable.
static int MakeSkinFile(const wchar_t* inPath, int alphaThreshold, SkinFile* skin) {
  skin->bytes = NULL;
  DecodedPicture picture;
  PictureResult decoded = DecodePicture(inPath, &picture);
  if (decoded == kPictureMissing) return Refuse(TEXT_KIT_MISSING, inPath);
  if (decoded == kPictureTooLarge)
    return Refuse(TEXT_KIT_TOO_LARGE, inPath, picture.width, picture.height, kMaxPictureSide);
  if (decoded != kPictureOk) return Refuse(TEXT_KIT_UNREADABLE, inPath);
  // The keyed pixel values take the place of the BGRA bytes they come from.
  size_t count = size_t(picture.width) * size_t(picture.height);
  uint32_t* pixels = reinterpret_cast<uint32_t*>(picture.bgra);
  skin->counts = KeyPixels(picture.bgra, count, alphaThreshold, pixels);
  skin->size = Bmp24FileSize(picture.width, picture.height);
  skin->bytes = static_cast<uint8_t*>(malloc(skin->size));
  if (skin->bytes) WriteBmp24(pixels, picture.width, picture.height, skin->bytes);
  FreePicture(&picture);
  return skin->bytes ? kSkinFine : Refuse(TEXT_KIT_CANNOT_WRITE, inPath);
}

// Prints what a conversion did; see AppendConversion.
static void ReportConversion(const wchar_t* inPath, const wchar_t* outPath, const KeyCounts* counts,
                             int tellNothingCut) {
  char inName[kShownNameSize], outName[kShownNameSize];
  ShowName(inPath, inName, sizeof inName);
  ShowName(outPath, outName, sizeof outName);
  ReportText report = {};
  AppendConversion(&report, inName, outName, counts, tellNothingCut);
  WriteText(STD_OUTPUT_HANDLE, report.text);
}

// The refusal for a write that did not happen.
static int RefuseWrite(WriteResult written, const wchar_t* outPath) {
  return Refuse(written == kWriteExists ? TEXT_KIT_EXISTS : TEXT_KIT_CANNOT_WRITE, outPath);
}

// Converts a picture into a 24-bit skin at outPath. The input itself is never overwritten, and
// an output that is replaced stays as it was unless the new one is written whole.
static int ConvertPicture(const wchar_t* inPath, const wchar_t* outPath, int alphaThreshold) {
  if (!PathExists(inPath)) return Refuse(TEXT_KIT_MISSING, inPath);
  if (IsSameFile(inPath, outPath)) return Refuse(TEXT_KIT_SAME_FILE, outPath);
  SkinFile skin;
  if (MakeSkinFile(inPath, alphaThreshold, &skin) != kSkinFine) return kSkinUnusable;
  WriteResult written = ReplaceWholeFile(outPath, skin.bytes, skin.size);
  free(skin.bytes);
  if (written != kWriteOk) return RefuseWrite(written, outPath);
  ReportConversion(inPath, outPath, &skin.counts, 1);
  return kSkinFine;
}

// Converts a dropped picture into a new skin at outPath. A file there already is replaced only
// when the person who dropped the picture says so in the kit's own console. The check comes next,
// so it, not this, says what to do with a picture that has nothing cut.
static int ConvertDroppedPicture(const wchar_t* inPath, const wchar_t* outPath) {
  if (!PathExists(inPath)) return Refuse(TEXT_KIT_MISSING, inPath);
  if (IsSameFile(inPath, outPath)) return Refuse(TEXT_KIT_SAME_FILE, outPath);
  SkinFile skin;
  if (MakeSkinFile(inPath, kDefaultAlphaThreshold, &skin) != kSkinFine) return kSkinUnusable;
  WriteResult written = CreateWholeFile(outPath, skin.bytes, skin.size);
  if (written == kWriteExists && HasOwnConsole() && AskToReplace(outPath))
    written = ReplaceWholeFile(outPath, skin.bytes, skin.size);
  free(skin.bytes);
  if (written != kWriteOk) return RefuseWrite(written, outPath);
  ReportConversion(inPath, outPath, &skin.counts, 0);
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

// Checks one skin and prints its report; returns its verdict. With a skin folder, the path that
// counts is the one the skin has there, wherever the file lies now; without one, its name alone.
static int CheckSkin(const wchar_t* path, const wchar_t* skinFolder) {
  SkinFacts facts = {};
  // A device's name is never read: opening it opens the device, not a picture.
  CheckFileNameOf(path, &facts.name);
  if (facts.name.device) return Refuse(TEXT_KIT_DEVICE_NAME, path);
  uint8_t start[kBmpHeaderBytes];
  size_t length;
  uint64_t fileSize;
  PictureResult read = ReadFileStart(path, start, sizeof start, &length, &fileSize);
  if (read == kPictureMissing) return Refuse(TEXT_KIT_MISSING, path);
  if (read != kPictureOk) return Refuse(TEXT_KIT_UNREADABLE, path);
  BmpHeaderResult parsed = ParseBmpHeader(start, length, fileSize, &facts.header);
  if (parsed != kBmpOk) return RefuseHeader(parsed, facts.header, path);
  if (skinFolder[0]) {
    wchar_t counted[kKitPathSize];
    size_t pathBytes = SkinPathBytes(skinFolder, path, counted);
    if (pathBytes > size_t(kMaxSkinPathBytes))
      return Refuse(TEXT_KIT_PATH_TOO_LONG, counted, int(pathBytes), kMaxSkinPathBytes);
  }

  // Pixels stored top row first are not read: Perchling cannot read them so either.
  if (!facts.header.topDown) {
    int noCopy = 0;
    uint32_t* pixels =
        LoadSkinPixels(path, facts.header.width, facts.header.height, &facts.shapeRects, &noCopy);
    if (!pixels) return Refuse(noCopy ? TEXT_KIT_NO_COPY : TEXT_KIT_LOAD_FAILED, path);
    MeasureSkinPixels(pixels, facts.header.width, facts.header.height, &facts.pixels);
    free(pixels);
  }

  char shown[kShownNameSize];
  ShowName(path, shown, sizeof shown);
  ReportText report = {};
  int verdict = FormatSkinReport(shown, &facts, &report);
  WriteText(STD_OUTPUT_HANDLE, report.text);
  return verdict;
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
// name without its last extension), unless it is that file already; the conversion also stores a
// top-down BMP bottom row first. Without one, a picture that is not a BMP becomes NAME.bmp beside
// itself, and a BMP is checked where it lies. The next step is said for every usable skin made
// or found in the skin folder.
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
  int made = 0;
  if (IsBmpName(picture) && (!inSkinFolder || IsSameFile(picture, skin))) {
    lstrcpynW(skin, picture, kKitPathSize);
  } else {
    int converted = ConvertDroppedPicture(picture, skin);
    if (converted != kSkinFine) return converted;
    made = 1;
  }
  int verdict = CheckSkin(skin, skinFolder);
  if (verdict != kSkinUnusable && (made || inSkinFolder)) TellNextStep(skin, inSkinFolder);
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
  return ConvertPicture(request.input, request.output, request.alphaThreshold);
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
