// The kit's command line, names and console, decided without Windows.
#include "skinkit/kit_decisions.h"

#include <string.h>
#include <wchar.h>

#include "base/paths.h"
#include "skinkit/skin_limits.h"

// The command words, spelled once.
static const wchar_t kConvertCommand[] = L"convert";
static const wchar_t kCheckCommand[] = L"check";
static const wchar_t kHelpOption[] = L"--help";
static const wchar_t kHelpSwitch[] = L"/?";
static const wchar_t kThresholdOption[] = L"--alpha-threshold";
static const wchar_t kKeyBackgroundOption[] = L"--key-background";
static const wchar_t kFitOption[] = L"--fit";
// What a long name is cut to in a report, and the mark that says so.
static const char kCutMark[] = "...";

KitCommand ChooseCommand(int argc, const wchar_t* const* argv) {
  if (argc < 2) return kCommandNone;
  const wchar_t* first = argv[1];
  if (wcscmp(first, kHelpOption) == 0 || wcscmp(first, kHelpSwitch) == 0) return kCommandHelp;
  if (wcscmp(first, kConvertCommand) == 0) return kCommandConvert;
  if (wcscmp(first, kCheckCommand) == 0) return kCommandCheck;
  return first[0] == L'-' ? kCommandWrong : kCommandDrop;
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

ConvertParse ParseConvertArguments(int count, const wchar_t* const* arguments,
                                   ConvertRequest* request) {
  const wchar_t* files[2] = {NULL, NULL};
  int fileCount = 0;
  request->alphaThreshold = kDefaultAlphaThreshold;
  request->keyBackground = request->fit = 0;
  for (int i = 0; i < count; ++i) {
    if (wcscmp(arguments[i], kKeyBackgroundOption) == 0) {
      request->keyBackground = 1;
    } else if (wcscmp(arguments[i], kFitOption) == 0) {
      request->fit = 1;
    } else if (wcscmp(arguments[i], kThresholdOption) == 0) {
      if (i + 1 >= count || !ParseThreshold(arguments[i + 1], &request->alphaThreshold))
        return kConvertBadThreshold;
      ++i;
    } else if (fileCount < 2) {
      files[fileCount++] = arguments[i];
    } else {
      return kConvertBadArguments;  // one file too many
    }
  }
  request->input = files[0];
  request->output = files[1];
  return fileCount == 2 ? kConvertParsed : kConvertBadArguments;
}

const wchar_t* FileNamePart(const wchar_t* path) {
  const wchar_t* name = path;
  for (const wchar_t* p = path; *p; ++p) {
    if (wcschr(L"" PATH_SEPARATORS, *p)) name = p + 1;
  }
  return name;
}

size_t SkinNameLength(const wchar_t* fileName) {
  const wchar_t* dot = wcsrchr(fileName, L'.');
  return dot && dot > fileName ? size_t(dot - fileName) : wcslen(fileName);
}

void CutShownName(const char* name, char* out, size_t size) {
  size_t length = strlen(name), mark = sizeof kCutMark - 1;
  if (size == 0) return;
  if (length < size) {
    memcpy(out, name, length + 1);
    return;
  }
  if (size <= mark + 1) {
    out[0] = 0;
    return;
  }
  // The end names the file; a UTF-8 character starts at a byte other than 10xxxxxx.
  const char* end = name + length - (size - 1 - mark);
  while ((static_cast<unsigned char>(*end) & 0xC0) == 0x80) ++end;
  memcpy(out, kCutMark, mark);
  memcpy(out + mark, end, strlen(end) + 1);
}

int IsOwnConsole(unsigned long attachedProcesses, int inputIsConsole) {
  return attachedProcesses == 1 && inputIsConsole;
}
