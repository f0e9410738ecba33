// The skin kit's console: its texts going out, the names in them, and the two prompts (the y/n
// question before a dropped picture replaces a file, and the wait for Enter). Every text is
// written whole or said to be lost: no run ends in silence.
#pragma once
#include <windows.h>

// Writes one of the kit's UTF-8 texts to standard output or standard error: wide to a console,
// so it reads right whatever the console's code page; to a file or a pipe in the run's output
// code page. What cannot be written there goes to the other one.
void WriteText(DWORD which, const char* text);

// 1 if some text of this run could be written nowhere: the run then cannot end with success.
int WasTextLost();

// A path as the kit's messages show it, in UTF-8: whole when it fits a report's name, else cut.
void ShowName(const wchar_t* path, char* out, int size);
enum { kShownNameSize = 1024 };  // bytes of a name in a report, terminator included

// Prints one refusal about path (format takes its name first, then up to three numbers) and
// returns the unusable verdict.
int Refuse(const char* format, const wchar_t* path, int first = 0, int second = 0, int third = 0);

// 1 if the kit has a console window of its own (see IsOwnConsole), not one it shares with the
// command prompt it was typed into.
int HasOwnConsole();

// Asks whether the file at path may be replaced; y says yes, anything else (n, Enter alone, the
// end of the input) no.
int AskToReplace(const wchar_t* path);

// Says so and waits for Enter (or the end of the input).
void WaitForEnter();
