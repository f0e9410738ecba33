// Console output and prompts for the skin kit.
#include "skinkit/kit_console.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "skinkit/kit_decisions.h"
#include "skinkit/kit_texts.h"
#include "skinkit/skin_report.h"

enum { kAnswerSize = 64 };  // bytes of a typed answer the kit reads

// Set once a text could be written nowhere.
static int g_textLost;

int WasTextLost() { return g_textLost; }

// The code page of everything one run writes into a file or a pipe: Shift-JIS on a Japanese
// system (as scripts there read it), else UTF-8 (a Western code page has no Japanese). The ANSI
// code page is the process's, so every text of one run comes out in one encoding; what it cannot
// hold becomes '?'.
static UINT OutputCodePage() { return GetACP() == 932 ? 932 : CP_UTF8; }

// Writes all the bytes, however few each WriteFile takes (a pipe may take part of them).
static int WriteAllBytes(HANDLE handle, const char* bytes, DWORD length) {
  while (length > 0) {
    DWORD written = 0;
    if (!WriteFile(handle, bytes, length, &written, NULL) || written == 0) return 0;
    bytes += written;
    length -= written;
  }
  return 1;
}

// The same for a console, in UTF-16 units.
static int WriteAllUnits(HANDLE handle, const wchar_t* units, DWORD length) {
  while (length > 0) {
    DWORD written = 0;
    if (!WriteConsoleW(handle, units, length, &written, NULL) || written == 0) return 0;
    units += written;
    length -= written;
  }
  return 1;
}

// Writes the UTF-8 text to one handle; 1 if all of it went out.
static int WriteTextTo(HANDLE handle, const char* text) {
  if (handle == NULL || handle == INVALID_HANDLE_VALUE) return 0;
  int length = int(strlen(text));
  if (length == 0) return 1;
  DWORD mode;
  int console = GetConsoleMode(handle, &mode);
  UINT codePage = OutputCodePage();
  if (!console && codePage == CP_UTF8) return WriteAllBytes(handle, text, DWORD(length));
  int whole = 0;
  int wideLength = MultiByteToWideChar(CP_UTF8, 0, text, length, NULL, 0);
  wchar_t* wide =
      wideLength > 0 ? static_cast<wchar_t*>(malloc(sizeof(wchar_t) * size_t(wideLength))) : NULL;
  if (wide && MultiByteToWideChar(CP_UTF8, 0, text, length, wide, wideLength) == wideLength) {
    if (console) {
      whole = WriteAllUnits(handle, wide, DWORD(wideLength));
    } else {
      int ansiLength =
          WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, wideLength, NULL, 0, "?", NULL);
      char* ansi = ansiLength > 0 ? static_cast<char*>(malloc(size_t(ansiLength))) : NULL;
      if (ansi && WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, wideLength, ansi,
                                      ansiLength, "?", NULL) == ansiLength)
        whole = WriteAllBytes(handle, ansi, DWORD(ansiLength));
      free(ansi);
    }
  }
  free(wide);
  return whole;
}

void WriteText(DWORD which, const char* text) {
  DWORD other = which == STD_OUTPUT_HANDLE ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
  if (!WriteTextTo(GetStdHandle(which), text) && !WriteTextTo(GetStdHandle(other), text))
    g_textLost = 1;
}

void ShowName(const wchar_t* path, char* out, int size) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, path, -1, NULL, 0, NULL, NULL);
  char* whole = bytes > 0 ? static_cast<char*>(malloc(size_t(bytes))) : NULL;
  if (whole && WideCharToMultiByte(CP_UTF8, 0, path, -1, whole, bytes, NULL, NULL) == bytes) {
    CutShownName(whole, out, size_t(size));
  } else {
    lstrcpynA(out, "?", size);
  }
  free(whole);
}

int Refuse(const char* format, const wchar_t* path, int first, int second, int third) {
  char name[kShownNameSize];
  ShowName(path, name, sizeof name);
  ReportText report = {};
  AppendText(&report, format, name, first, second, third);
  WriteText(STD_ERROR_HANDLE, report.text);
  return kSkinUnusable;
}

int HasOwnConsole() {
  DWORD processes[2], mode;
  DWORD attached = GetConsoleProcessList(processes, 2);
  return IsOwnConsole(attached, GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode));
}

int AskToReplace(const wchar_t* path) {
  char name[kShownNameSize];
  ShowName(path, name, sizeof name);
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

void WaitForEnter() {
  WriteText(STD_OUTPUT_HANDLE, TEXT_KIT_PRESS_ENTER);
  int c;
  do c = getchar();
  while (c != '\n' && c != EOF);
}
