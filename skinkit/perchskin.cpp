// perchskin: the skin kit. It turns a picture with an alpha channel into a skin Perchling can
// load, and says what is wrong with a skin: its format, how finely cut its shape is, fringes of
// near-magenta, whether it reaches the title bar, its name. Started with only file names
// (pictures dropped on it), it makes each one a skin (in the skin folder of the Perchling it sits
// beside, else beside the picture) and checks it; started with nothing in a console window of its
// own (a double-click), it says how it is used. Only then, in a console window of its own, does
// it wait for Enter; every other command ends by itself.
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
  kWidePathSize = 1024,     // characters of a path the kit makes (NAME.bmp in a folder)
  kAnswerSize = 64,         // bytes of a typed answer the kit reads
};

// The command words, spelled once.
static const wchar_t kConvertCommand[] = L"convert";
static const wchar_t kCheckCommand[] = L"check";
static const wchar_t kHelpOption[] = L"--help";
static const wchar_t kHelpSwitch[] = L"/?";
static const wchar_t kThresholdOption[] = L"--alpha-threshold";

// The code page of everything one run writes into a file or a pipe, chosen once: Shift-JIS on a
// Japanese system (as scripts there read it), else UTF-8 (a Western code page has no Japanese).
// What it cannot hold becomes '?', so the whole output reads in one encoding.
static UINT OutputCodePage() { return GetACP() == 932 ? 932 : CP_UTF8; }

// Writes one of the kit's UTF-8 texts to standard output or standard error. A console gets it
// wide, so it reads right whatever the console's code page; a file or a pipe gets it in the
// run's output code page.
static void WriteText(DWORD which, const char* text) {
  static const UINT codePage = OutputCodePage();
  HANDLE handle = GetStdHandle(which);
  if (handle == NULL || handle == INVALID_HANDLE_VALUE) return;
  int length = int(strlen(text));
  DWORD mode, written;
  int console = GetConsoleMode(handle, &mode);
  if (!console && codePage == CP_UTF8) {
    WriteFile(handle, text, DWORD(length), &written, NULL);
    return;
  }
  int wideLength = MultiByteToWideChar(CP_UTF8, 0, text, length, NULL, 0);
  wchar_t* wide =
      wideLength > 0 ? static_cast<wchar_t*>(malloc(sizeof(wchar_t) * size_t(wideLength))) : NULL;
  if (wide && MultiByteToWideChar(CP_UTF8, 0, text, length, wide, wideLength) == wideLength) {
    if (console) {
      WriteConsoleW(handle, wide, DWORD(wideLength), &written, NULL);
    } else {
      int ansiLength = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, wideLength, NULL,
                                           0, "?", NULL);
      char* ansi = ansiLength > 0 ? static_cast<char*>(malloc(size_t(ansiLength))) : NULL;
      if (ansi && WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, wideLength, ansi,
                                      ansiLength, "?", NULL) == ansiLength)
        WriteFile(handle, ansi, DWORD(ansiLength), &written, NULL);
      free(ansi);
    }
  }
  free(wide);
}

// A path as the kit's messages show it: whole, in the texts' UTF-8.
static void DisplayName(const wchar_t* path, char* out, int size) {
  if (!WideCharToMultiByte(CP_UTF8, 0, path, -1, out, size, NULL, NULL)) lstrcpynA(out, "?", size);
}

// Prints one refusal about path (format takes its name first, then up to three numbers) and
// returns the unusable verdict.
static int Refuse(const char* format, const wchar_t* path, int first = 0, int second = 0,
                  int third = 0) {
  char name[kDisplayNameSize];
  DisplayName(path, name, sizeof name);
  ReportText report = {};
  AppendText(&report, format, name, first, second, third);
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

// What the catalogue would make of the file name of path.
static void CheckFileNameOf(const wchar_t* path, SkinNameFacts* facts) {
  char ansiName[kDisplayNameSize];
  int representable = ToCheckedAnsiName(FileNamePart(path), ansiName, sizeof ansiName);
  CheckSkinFileName(ansiName, representable, facts);
}

// The length in bytes of the ANSI code page of the full path Perchling would open for path.
static size_t AnsiPathBytes(const wchar_t* path) {
  wchar_t full[kWidePathSize];
  DWORD length = GetFullPathNameW(path, kWidePathSize, full, NULL);
  if (length == 0 || length >= kWidePathSize) return size_t(kWidePathSize);
  int bytes = WideCharToMultiByte(CP_ACP, 0, full, -1, NULL, 0, NULL, NULL);
  return bytes > 0 ? size_t(bytes - 1) : size_t(kWidePathSize);
}

// Writes folder, name (its first nameLength characters) and ".bmp" into out; 0 if it would not
// fit.
static int JoinSkinPath(const wchar_t* folder, size_t folderLength, const wchar_t* name,
                        size_t nameLength, wchar_t* out, size_t size) {
  if (folderLength + nameLength + 5 > size) return 0;
  wmemcpy(out, folder, folderLength);
  wmemcpy(out + folderLength, name, nameLength);
  wmemcpy(out + folderLength + nameLength, L".bmp", 5);
  return 1;
}

// The skin folder of the Perchling the kit sits beside, with its final backslash: the kit's own
// folder holds Perchling.exe and a folder skin, as the release zip lays them out. "" (and 0) when
// it sits beside none.
static int FindSkinFolder(wchar_t* folder, size_t size) {
  folder[0] = 0;
  wchar_t own[kWidePathSize] = L"", beside[kWidePathSize];
  DWORD length = GetModuleFileNameW(NULL, own, kWidePathSize);
  if (length == 0 || length >= kWidePathSize) return 0;
  int ownFolder = int(FileNamePart(own) - own);
  int made = _snwprintf(beside, kWidePathSize, L"%.*lsPerchling.exe", ownFolder, own);
  if (made < 0 || made >= kWidePathSize) return 0;
  DWORD program = GetFileAttributesW(beside);
  made = _snwprintf(beside, kWidePathSize, L"%.*lsskin\\", ownFolder, own);
  if (made < 0 || size_t(made) >= size) return 0;
  DWORD skins = GetFileAttributesW(beside);
  if (program == INVALID_FILE_ATTRIBUTES || (program & FILE_ATTRIBUTE_DIRECTORY) ||
      skins == INVALID_FILE_ATTRIBUTES || !(skins & FILE_ATTRIBUTE_DIRECTORY))
    return 0;
  wmemcpy(folder, beside, size_t(made) + 1);
  return 1;
}

// 1 if the kit has a console window of its own, as when Explorer starts it for dropped files,
// rather than one it shares with the command prompt it was typed into. Only then is there
// someone to wait for, or to ask.
static int HasOwnConsole() {
  DWORD processes[2], mode;
  return GetConsoleProcessList(processes, 2) == 1 &&
         GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode);
}

// Asks whether the file at path may be replaced; Enter alone, or no answer at all, means no.
static int AskToReplace(const wchar_t* path) {
  char name[kDisplayNameSize];
  DisplayName(path, name, sizeof name);
  ReportText question = {};
  AppendText(&question, TEXT_KIT_ASK_REPLACE, name);
  WriteText(STD_OUTPUT_HANDLE, question.text);
  char answer[kAnswerSize];
  if (!fgets(answer, sizeof answer, stdin)) return 0;
  // The rest of a long line is not left for the next question.
  int c = strchr(answer, '\n') ? '\n' : 0;
  while (c != '\n' && c != EOF) c = getchar();
  return AnswersYes(answer);
}

// Converts a picture into a 24-bit skin at outPath. The input itself is never overwritten, and
// an output that is replaced stays as it was unless the new one is written whole. A dropped
// picture replaces an existing file only when the person who dropped it says so, and it is
// checked next, so the check, not this, says what to do with a picture that has nothing cut.
static int ConvertPicture(const wchar_t* inPath, const wchar_t* outPath, int alphaThreshold,
                          int dropped) {
  if (!PathExists(inPath)) return Refuse(TEXT_KIT_MISSING, inPath);
  if (IsSameFile(inPath, outPath)) return Refuse(TEXT_KIT_SAME_FILE, outPath);

  DecodedPicture picture;
  PictureResult decoded = DecodePicture(inPath, &picture);
  if (decoded == kPictureMissing) return Refuse(TEXT_KIT_MISSING, inPath);
  if (decoded == kPictureTooLarge)
    return Refuse(TEXT_KIT_TOO_LARGE, inPath, picture.width, picture.height, kMaxPictureSide);
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
    written = WriteWholeFile(outPath, file, fileSize, !dropped);
    if (written == kWriteExists && HasOwnConsole() && AskToReplace(outPath))
      written = WriteWholeFile(outPath, file, fileSize, 1);
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
  if (!counts.alphaUsed && counts.keyKept) AppendText(&report, "%s", TEXT_KIT_OPAQUE_PICTURE);
  if (!counts.alphaUsed && !counts.keyKept && !dropped)
    AppendText(&report, "%s", TEXT_KIT_NOTHING_CUT);
  WriteText(STD_OUTPUT_HANDLE, report.text);
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
    wchar_t counted[kWidePathSize];
    int made = _snwprintf(counted, kWidePathSize, L"%ls%ls", skinFolder, FileNamePart(path));
    int fits = made >= 0 && made < kWidePathSize;
    size_t pathBytes = fits ? AnsiPathBytes(counted) : size_t(kWidePathSize);
    if (pathBytes > size_t(kMaxSkinPathBytes))
      return Refuse(TEXT_KIT_PATH_TOO_LONG, fits ? counted : path, int(pathBytes),
                    kMaxSkinPathBytes);
  }

  // Pixels stored top row first are not read: Perchling cannot read them so either.
  if (!facts.header.topDown) {
    uint32_t* pixels =
        LoadSkinPixels(path, facts.header.width, facts.header.height, &facts.shapeRects);
    if (!pixels) return Refuse(TEXT_KIT_LOAD_FAILED, path);
    MeasureSkinPixels(pixels, facts.header.width, facts.header.height, &facts.pixels);
    free(pixels);
  }

  char shown[kDisplayNameSize];
  DisplayName(path, shown, sizeof shown);
  ReportText report = {};
  int verdict = FormatSkinReport(shown, &facts, &report);
  WriteText(STD_OUTPUT_HANDLE, report.text);
  return verdict;
}

// 1 if the path's file name ends in ".bmp", in any case.
static int IsBmpName(const wchar_t* path) {
  size_t length = wcslen(path);
  return length >= 4 && lstrcmpiW(path + length - 4, L".bmp") == 0;
}

// Says what to do with a skin a dropped picture has become.
static void TellNextStep(const wchar_t* skin, int inSkinFolder) {
  char fileName[kDisplayNameSize], skinName[kDisplayNameSize];
  const wchar_t* name = FileNamePart(skin);
  DisplayName(name, fileName, sizeof fileName);
  wchar_t bare[kWidePathSize];
  lstrcpynW(bare, name, int(wcslen(name) - 3));  // without ".bmp"
  DisplayName(bare, skinName, sizeof skinName);
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
  const wchar_t* dot = wcsrchr(name, L'.');
  size_t nameLength = dot && dot > name ? size_t(dot - name) : wcslen(name);
  int inSkinFolder = skinFolder[0] != 0;
  wchar_t skin[kWidePathSize];
  if (!(inSkinFolder ? JoinSkinPath(skinFolder, wcslen(skinFolder), name, nameLength, skin,
                                    kWidePathSize)
                     : JoinSkinPath(picture, size_t(name - picture), name, nameLength, skin,
                                    kWidePathSize)))
    return Refuse(TEXT_KIT_CANNOT_WRITE, picture);
  SkinNameFacts nameFacts;
  CheckFileNameOf(skin, &nameFacts);
  if (nameFacts.device) return Refuse(TEXT_KIT_DEVICE_NAME, skin);
  int made = 0;
  if (IsBmpName(picture) && (!inSkinFolder || IsSameFile(picture, skin))) {
    lstrcpynW(skin, picture, kWidePathSize);
  } else {
    int converted = ConvertPicture(picture, skin, kDefaultAlphaThreshold, 1);
    if (converted != kSkinFine) return converted;
    made = 1;
  }
  int verdict = CheckSkin(skin, skinFolder);
  if (verdict != kSkinUnusable && (made || inSkinFolder)) TellNextStep(skin, inSkinFolder);
  return verdict;
}

// Pictures dropped on the kit, each in turn. Returns the worst verdict.
static int HandleDroppedFiles(int count, wchar_t** paths, const wchar_t* skinFolder) {
  int worst = kSkinFine;
  for (int i = 0; i < count; ++i) {
    int verdict = HandleDroppedFile(paths[i], skinFolder);
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
    if (lstrcmpW(arguments[i], kThresholdOption) == 0) {
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

static int RunCheck(int count, wchar_t** paths, const wchar_t* skinFolder) {
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
  return lstrcmpW(first, kConvertCommand) != 0 && lstrcmpW(first, kCheckCommand) != 0 &&
         lstrcmpW(first, kHelpSwitch) != 0 && first[0] != L'-';
}

// Hands the command line to its command.
static int RunKit(int argc, wchar_t** argv, int ownConsole) {
  if (argc < 2) {
    WriteText(STD_OUTPUT_HANDLE, ownConsole ? TEXT_KIT_DOUBLE_CLICK : TEXT_KIT_USAGE);
    return kSkinFine;
  }
  const wchar_t* command = argv[1];
  if (lstrcmpW(command, kHelpOption) == 0 || lstrcmpW(command, kHelpSwitch) == 0) {
    WriteText(STD_OUTPUT_HANDLE, TEXT_KIT_USAGE);
    return kSkinFine;
  }
  wchar_t skinFolder[kWidePathSize];
  FindSkinFolder(skinFolder, kWidePathSize);
  if (lstrcmpW(command, kConvertCommand) == 0) return RunConvert(argc - 2, argv + 2);
  if (lstrcmpW(command, kCheckCommand) == 0) return RunCheck(argc - 2, argv + 2, skinFolder);
  if (IsDropMode(argc, argv)) return HandleDroppedFiles(argc - 1, argv + 1, skinFolder);
  WriteText(STD_ERROR_HANDLE, TEXT_KIT_BAD_ARGUMENTS);
  return kSkinUnusable;
}

int main() {
  // The wide command line: file names the ANSI code page cannot hold still arrive whole.
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return kSkinUnusable;
  HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
  // Only a person who dropped files or double-clicked the kit reads the window before it closes;
  // a command from a script, a terminal or another program ends by itself.
  int ownConsole = (argc < 2 || IsDropMode(argc, argv)) && HasOwnConsole();
  int verdict = RunKit(argc, argv, ownConsole);
  if (SUCCEEDED(com)) CoUninitialize();
  if (ownConsole) WaitForEnter();
  LocalFree(argv);
  return verdict;
}
