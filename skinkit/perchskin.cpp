// perchskin: the skin kit. It turns a picture with an alpha channel into a skin Perchling can
// load, and says what is wrong with a skin: its format, how finely cut its shape is, fringes of
// near-magenta, whether it reaches the title bar, its name. Started with only file names
// (pictures dropped on it), it converts and checks each one and, in a console window of its own,
// keeps it open until Enter; every other command ends by itself.
// Start reading at main(). Texts are in kit_texts.h (UTF-8); the judging is portable
// (skin_report.h).
#include <windows.h>

#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "base/ansi_names.h"
#include "skinkit/bmp_header.h"
#include "skinkit/kit_texts.h"
#include "skinkit/picture_files.h"
#include "skinkit/skin_pixels.h"
#include "skinkit/skin_report.h"

enum {
  kDisplayNameSize = 4096,  // bytes of a path shown in a message (UTF-8)
  kWidePathSize = 1024,     // characters of a path the kit makes (NAME.bmp beside a picture)
};

// The text in the system's ANSI code page, in memory the caller frees, or NULL when that code
// page lacks one of its characters (or is UTF-8, which the text already is).
static char* ToAnsiText(const wchar_t* wide, int wideLength, int* length) {
  BOOL lost = GetACP() == CP_UTF8;
  *length = lost ? 0
                 : WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, wideLength, NULL, 0,
                                       NULL, &lost);
  char* ansi = !lost && *length > 0 ? static_cast<char*>(malloc(size_t(*length))) : NULL;
  if (ansi &&
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, wideLength, ansi, *length, NULL,
                          &lost) == *length &&
      !lost)
    return ansi;
  free(ansi);
  return NULL;
}

// Writes one of the kit's UTF-8 texts to standard output or standard error. A console gets it
// wide, so it reads right whatever the console's code page. A file or a pipe gets it in the
// system's ANSI code page when that holds every character (Shift-JIS on a Japanese system, as
// scripts there read it), else in UTF-8: a Western code page has no Japanese.
static void WriteText(DWORD which, const char* text) {
  HANDLE handle = GetStdHandle(which);
  if (handle == NULL || handle == INVALID_HANDLE_VALUE) return;
  int length = int(strlen(text));
  int wideLength = MultiByteToWideChar(CP_UTF8, 0, text, length, NULL, 0);
  wchar_t* wide = static_cast<wchar_t*>(malloc(sizeof(wchar_t) * (size_t(wideLength) + 1)));
  if (wide && (wideLength <= 0 ||
               MultiByteToWideChar(CP_UTF8, 0, text, length, wide, wideLength) != wideLength)) {
    free(wide);
    wide = NULL;
  }
  DWORD mode, written;
  int ansiLength = 0;
  char* ansi = NULL;
  if (wide && GetConsoleMode(handle, &mode)) {
    WriteConsoleW(handle, wide, DWORD(wideLength), &written, NULL);
  } else if (wide && (ansi = ToAnsiText(wide, wideLength, &ansiLength)) != NULL) {
    WriteFile(handle, ansi, DWORD(ansiLength), &written, NULL);
  } else {
    WriteFile(handle, text, DWORD(length), &written, NULL);
  }
  free(ansi);
  free(wide);
}

// A path as the kit's messages show it: whole, in the texts' UTF-8.
static void DisplayName(const wchar_t* path, char* out, int size) {
  if (!WideCharToMultiByte(CP_UTF8, 0, path, -1, out, size, NULL, NULL)) lstrcpynA(out, "?", size);
}

// Prints one refusal about path (format takes its name first) and returns the unusable verdict.
static int Refuse(const char* format, const wchar_t* path) {
  char name[kDisplayNameSize];
  DisplayName(path, name, sizeof name);
  ReportText report = {};
  AppendText(&report, format, name);
  WriteText(STD_ERROR_HANDLE, report.text);
  return kSkinUnusable;
}

// The file name part of a path: what follows its last backslash, slash or drive colon.
static const wchar_t* FileNamePart(const wchar_t* path) {
  const wchar_t* name = path;
  for (const wchar_t* p = path; *p; ++p) {
    if (*p == L'\\' || *p == L'/' || *p == L':') name = p + 1;
  }
  return name;
}

// The name as Perchling finds it, in the system's ANSI code page, by the catalogue's own test.
// Returns 1 if it names exactly this file apart from any '?' or '*' it holds, which the report
// names as wildcards; 0 if the code page cannot hold it (out then has the lossy spelling, whose
// length and extension still count).
static int ToCheckedAnsiName(const wchar_t* name, char* out, int size) {
  if (ToExactAnsiName(name, out, size)) return 1;
  size_t length = wcslen(name);
  int exact = 0;
  if (length < kWidePathSize) {
    wchar_t tame[kWidePathSize];
    for (size_t i = 0; i <= length; ++i)
      tame[i] = name[i] == L'?' || name[i] == L'*' ? L'_' : name[i];
    exact = ToExactAnsiName(tame, out, size);
  }
  // '?' and '*' are the same single byte in every ANSI code page, so this spelling is exact but
  // for them.
  if (!WideCharToMultiByte(CP_ACP, 0, name, -1, out, size, NULL, NULL)) out[0] = 0;
  return exact;
}

// The length in bytes of the ANSI code page of the full path Perchling would open for path.
static size_t AnsiPathBytes(const wchar_t* path) {
  wchar_t full[kWidePathSize];
  DWORD length = GetFullPathNameW(path, kWidePathSize, full, NULL);
  if (length == 0 || length >= kWidePathSize) return size_t(kWidePathSize);
  int bytes = WideCharToMultiByte(CP_ACP, 0, full, -1, NULL, 0, NULL, NULL);
  return bytes > 0 ? size_t(bytes - 1) : size_t(kWidePathSize);
}

// Converts a picture into a 24-bit skin at outPath. keepExisting refuses any existing output
// (dropped pictures); the input itself is never overwritten, and an output that is replaced stays
// as it was unless the new one is written whole.
static int ConvertPicture(const wchar_t* inPath, const wchar_t* outPath, int alphaThreshold,
                          int keepExisting) {
  if (!PathExists(inPath)) return Refuse(TEXT_KIT_MISSING, inPath);
  if (IsSameFile(inPath, outPath)) return Refuse(TEXT_KIT_SAME_FILE, outPath);

  DecodedPicture picture;
  PictureResult decoded = DecodePicture(inPath, &picture);
  if (decoded == kPictureMissing) return Refuse(TEXT_KIT_MISSING, inPath);
  if (decoded == kPictureTooLarge) {
    char name[kDisplayNameSize];
    DisplayName(inPath, name, sizeof name);
    ReportText report = {};
    AppendText(&report, TEXT_KIT_TOO_LARGE, name, picture.width, picture.height,
               int(kMaxPictureSide));
    WriteText(STD_ERROR_HANDLE, report.text);
    return kSkinUnusable;
  }
  if (decoded != kPictureOk) return Refuse(TEXT_KIT_UNREADABLE, inPath);

  // The keyed pixel values take the place of the BGRA bytes they come from.
  size_t count = size_t(picture.width) * size_t(picture.height);
  uint32_t* pixels = reinterpret_cast<uint32_t*>(picture.bgra);
  KeyCounts counts = KeyPixels(picture.bgra, count, alphaThreshold, pixels);
  size_t fileSize = Bmp24FileSize(picture.width, picture.height);
  uint8_t* file = static_cast<uint8_t*>(malloc(fileSize));
  WriteResult written = kWriteFailed;
  if (file) {
    WriteBmp24(pixels, picture.width, picture.height, file);
    written = WriteWholeFile(outPath, file, fileSize, !keepExisting);
  }
  free(file);
  FreePicture(&picture);
  if (written == kWriteExists) return Refuse(TEXT_KIT_EXISTS, outPath);
  if (written != kWriteOk) return Refuse(TEXT_KIT_CANNOT_WRITE, outPath);

  char inName[kDisplayNameSize], outName[kDisplayNameSize];
  DisplayName(inPath, inName, sizeof inName);
  DisplayName(outPath, outName, sizeof outName);
  ReportText report = {};
  AppendText(&report, TEXT_KIT_CONVERTED, inName, outName, unsigned(counts.cut),
             unsigned(counts.nudged));
  if (!counts.alphaUsed) AppendText(&report, "%s", TEXT_KIT_OPAQUE_PICTURE);
  WriteText(STD_OUTPUT_HANDLE, report.text);
  return kSkinFine;
}

// The refusal for a header the kit will not hand to the loader.
static int RefuseHeader(BmpHeaderResult result, const BmpHeader& header, const wchar_t* path) {
  char name[kDisplayNameSize];
  DisplayName(path, name, sizeof name);
  ReportText report = {};
  switch (result) {
    case kBmpNotBmp: {
      // Worth converting only if it is a picture at all.
      DecodedPicture picture;
      PictureResult decoded = DecodePicture(path, &picture);
      FreePicture(&picture);
      AppendText(&report,
                 decoded == kPictureOk || decoded == kPictureTooLarge ? TEXT_KIT_NOT_BMP
                                                                      : TEXT_KIT_NO_PICTURE,
                 name);
      break;
    }
    case kBmpBadSize:
      AppendText(&report, TEXT_KIT_BAD_SIZE, name);
      break;
    case kBmpTooLarge:
      AppendText(&report, TEXT_KIT_TOO_LARGE, name, header.width, header.height,
                 int(kMaxPictureSide));
      break;
    case kBmpUnsupported:
      AppendText(&report, TEXT_KIT_UNSUPPORTED, name, header.bitsPerPixel,
                 unsigned(header.compression));
      break;
    case kBmpTruncated:
      AppendText(&report, TEXT_KIT_TRUNCATED, name);
      break;
    default:
      AppendText(&report, TEXT_KIT_BAD_HEADER, name);
      break;
  }
  WriteText(STD_ERROR_HANDLE, report.text);
  return kSkinUnusable;
}

// Checks one skin and prints its report; returns its verdict.
static int CheckSkin(const wchar_t* path) {
  uint8_t start[kBmpHeaderBytes];
  size_t length;
  uint64_t fileSize;
  PictureResult read = ReadFileStart(path, start, sizeof start, &length, &fileSize);
  if (read == kPictureMissing) return Refuse(TEXT_KIT_MISSING, path);
  if (read != kPictureOk) return Refuse(TEXT_KIT_UNREADABLE, path);
  SkinFacts facts = {};
  BmpHeaderResult parsed = ParseBmpHeader(start, length, fileSize, &facts.header);
  if (parsed != kBmpOk) return RefuseHeader(parsed, facts.header, path);
  size_t pathBytes = AnsiPathBytes(path);
  if (pathBytes > size_t(kMaxSkinPathBytes)) {
    char name[kDisplayNameSize];
    DisplayName(path, name, sizeof name);
    ReportText report = {};
    AppendText(&report, TEXT_KIT_PATH_TOO_LONG, name, unsigned(pathBytes), int(kMaxSkinPathBytes));
    WriteText(STD_ERROR_HANDLE, report.text);
    return kSkinUnusable;
  }

  uint32_t* pixels =
      LoadSkinPixels(path, facts.header.width, facts.header.height, &facts.shapeRects);
  if (!pixels) return Refuse(TEXT_KIT_LOAD_FAILED, path);
  MeasureSkinPixels(pixels, facts.header.width, facts.header.height, &facts.pixels);
  free(pixels);

  char ansiName[kDisplayNameSize];
  int representable = ToCheckedAnsiName(FileNamePart(path), ansiName, sizeof ansiName);
  CheckSkinFileName(ansiName, representable, &facts.name);

  char name[kDisplayNameSize];
  DisplayName(path, name, sizeof name);
  ReportText report = {};
  int verdict = FormatSkinReport(name, &facts, &report);
  WriteText(STD_OUTPUT_HANDLE, report.text);
  return verdict;
}

// 1 if the path's file name ends in ".bmp", in any case.
static int IsBmpName(const wchar_t* path) {
  size_t length = wcslen(path);
  return length >= 4 && lstrcmpiW(path + length - 4, L".bmp") == 0;
}

// Makes NAME.bmp beside a picture: its last extension replaced (a name whose only dot is its
// first character keeps it). 0 if the result would not fit.
static int BesideAsBmp(const wchar_t* path, wchar_t* out, size_t size) {
  const wchar_t* name = FileNamePart(path);
  const wchar_t* dot = wcsrchr(name, L'.');
  size_t keep = dot && dot > name ? size_t(dot - path) : wcslen(path);
  if (keep + 5 > size) return 0;
  wmemcpy(out, path, keep);
  wmemcpy(out + keep, L".bmp", 5);
  return 1;
}

// Says where a skin the kit has just written goes next.
static void TellNextStep(const wchar_t* skin) {
  char name[kDisplayNameSize];
  DisplayName(FileNamePart(skin), name, sizeof name);
  ReportText report = {};
  AppendText(&report, TEXT_KIT_NEXT_STEP, name);
  WriteText(STD_OUTPUT_HANDLE, report.text);
}

// Pictures dropped on the kit: each one that is not a BMP is converted beside itself, then every
// BMP is checked. Returns the worst verdict.
static int HandleDroppedFiles(int count, wchar_t** paths) {
  int worst = kSkinFine;
  for (int i = 0; i < count; ++i) {
    const wchar_t* skin = paths[i];
    wchar_t converted[kWidePathSize];
    int verdict;
    if (IsBmpName(skin)) {
      verdict = CheckSkin(skin);
    } else if (!BesideAsBmp(skin, converted, kWidePathSize)) {
      verdict = Refuse(TEXT_KIT_CANNOT_WRITE, skin);
    } else {
      verdict = ConvertPicture(skin, converted, kDefaultAlphaThreshold, 1);
      if (verdict == kSkinFine) {
        verdict = CheckSkin(converted);
        if (verdict != kSkinUnusable) TellNextStep(converted);
      }
    }
    if (verdict > worst) worst = verdict;
    WriteText(STD_OUTPUT_HANDLE, "\n");
  }
  return worst;
}

// Reads an alpha threshold: a whole number from 0 (nothing is cut) to 255 (every pixel that is not
// fully opaque is cut). Returns 0 if the text is anything else.
static int ParseThreshold(const wchar_t* text, int* threshold) {
  if (!*text) return 0;
  int value = 0;
  for (const wchar_t* p = text; *p; ++p) {
    if (*p < L'0' || *p > L'9' || value > 255) return 0;
    value = value * 10 + (*p - L'0');
  }
  if (value > 255) return 0;
  *threshold = value;
  return 1;
}

// convert IN OUT [--alpha-threshold N], the option anywhere after the command.
static int RunConvert(int count, wchar_t** arguments) {
  const wchar_t* files[2];
  int fileCount = 0, threshold = kDefaultAlphaThreshold;
  for (int i = 0; i < count; ++i) {
    if (lstrcmpW(arguments[i], L"--alpha-threshold") == 0) {
      if (i + 1 >= count || !ParseThreshold(arguments[i + 1], &threshold)) {
        WriteText(STD_ERROR_HANDLE, TEXT_KIT_BAD_THRESHOLD);
        return kSkinUnusable;
      }
      ++i;
    } else if (fileCount < 2) {
      files[fileCount++] = arguments[i];
    } else {
      fileCount = 3;  // one file too many
    }
  }
  if (fileCount != 2) {
    WriteText(STD_ERROR_HANDLE, TEXT_KIT_BAD_ARGUMENTS);
    return kSkinUnusable;
  }
  return ConvertPicture(files[0], files[1], threshold, 0);
}

static int RunCheck(int count, wchar_t** paths) {
  if (count == 0) {
    WriteText(STD_ERROR_HANDLE, TEXT_KIT_BAD_ARGUMENTS);
    return kSkinUnusable;
  }
  int worst = kSkinFine;
  for (int i = 0; i < count; ++i) {
    int verdict = CheckSkin(paths[i]);
    if (verdict > worst) worst = verdict;
  }
  return worst;
}

// 1 if the kit has a console window of its own, as when Explorer starts it for dropped files,
// rather than one it shares with the command prompt it was typed into. Only then is there
// someone to wait for.
static int HasOwnConsole() {
  DWORD processes[2], mode;
  return GetConsoleProcessList(processes, 2) == 1 &&
         GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode);
}

static void WaitForEnter() {
  WriteText(STD_OUTPUT_HANDLE, TEXT_KIT_PRESS_ENTER);
  int c;
  do c = getchar();
  while (c != '\n' && c != EOF);
}

// 1 if the command line holds only files (pictures dropped on the kit), no command.
static int IsDropMode(int argc, wchar_t** argv) {
  if (argc < 2) return 0;
  const wchar_t* first = argv[1];
  return lstrcmpW(first, L"convert") != 0 && lstrcmpW(first, L"check") != 0 &&
         lstrcmpW(first, L"/?") != 0 && first[0] != L'-';
}

// Hands the command line to its command.
static int RunKit(int argc, wchar_t** argv) {
  if (argc < 2) {
    WriteText(STD_OUTPUT_HANDLE, TEXT_KIT_USAGE);
    return kSkinFine;
  }
  const wchar_t* command = argv[1];
  if (lstrcmpW(command, L"--help") == 0 || lstrcmpW(command, L"/?") == 0) {
    WriteText(STD_OUTPUT_HANDLE, TEXT_KIT_USAGE);
    return kSkinFine;
  }
  if (lstrcmpW(command, L"convert") == 0) return RunConvert(argc - 2, argv + 2);
  if (lstrcmpW(command, L"check") == 0) return RunCheck(argc - 2, argv + 2);
  if (IsDropMode(argc, argv)) return HandleDroppedFiles(argc - 1, argv + 1);
  WriteText(STD_ERROR_HANDLE, TEXT_KIT_BAD_ARGUMENTS);
  return kSkinUnusable;
}

int main() {
  // The wide command line: file names the ANSI code page cannot hold still arrive whole.
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return kSkinUnusable;
  HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
  int verdict = RunKit(argc, argv);
  if (SUCCEEDED(com)) CoUninitialize();
  // Only a person who dropped files reads the window before it closes; a command from a script,
  // a terminal or another program ends by itself.
  if (IsDropMode(argc, argv) && HasOwnConsole()) WaitForEnter();
  LocalFree(argv);
  return verdict;
}
