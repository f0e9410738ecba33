// Skin names: the catalogue's storage, and how names are cut from file names, compared and sorted.
// Plain C++ without Windows headers. Names are Shift-JIS byte strings; comparing folds only the
// ASCII capitals, whatever the locale, so the order is the same on every machine.
#pragma once
#include <stddef.h>

enum {
  kMaxSkins = 100,      // entries in the catalogue
  kSkinNameSize = 100,  // bytes per entry, terminator included: names of at most 99 bytes
  kMenuTextSize = 2 * kSkinNameSize,  // a name of 99 '&' doubled, and the terminator
};

typedef char SkinName[kSkinNameSize];

// A skin's file, named once for the catalogue and the kit: SKIN_FOLDER NAME SKIN_EXTENSION beside
// PROGRAM_FILE_NAME; and what a file search takes for any characters (never a trail byte).
#define SKIN_FOLDER "skin\\"
#define SKIN_EXTENSION ".bmp"
#define PROGRAM_FILE_NAME "Perchling.exe"
enum { kSkinExtensionLength = sizeof SKIN_EXTENSION - 1 };
#define SEARCH_WILDCARDS "?*"

// Ends the name at its last '.', unless that dot is the first character: "my.skin.bmp" becomes
// "my.skin", ".bmp" stays ".bmp".
void StripExtension(char* name);

// Compares byte by byte, unsigned, with 'A'-'Z' folded to 'a'-'z' wherever they stand. So "[", "\",
// "]", "^", "_" and "`" sort before every letter.
int CompareNoCase(const char* a, const char* b);

// Sorts names[0 .. count-1] with CompareNoCase by exchanges; equal names keep whatever order the
// exchanges leave.
void SortSkinNames(SkinName* names, int count);

// 1 if the file name (UTF-16, as the system reads it: byte 0xB9 is ¹ under 1252, ｹ under 932)
// names a device Windows keeps in every folder, which opens instead of a picture: CON, PRN, AUX,
// NUL, CONIN$, CONOUT$, COM and LPT with 1-9, ¹, ² or ³, in any case, alone or before a dot.
int IsDeviceName(const wchar_t* fileName);

// 1 if the file name ends in ".bmp", in any case.
int HasSkinExtension(const char* fileName);

// 1 if the file name ends in ".bmp" (in any case) after a name that keeps its first character.
// A "*.bmp" search also reports "bird.bmpx", "zz.bmp~" and "x.bmp." by their short (8.3) names.
int IsSkinFileName(const char* fileName);

// Adds a picture's file name, without its extension, to a catalogue of count entries and returns
// the new count. Skipped: a file name that is not a skin's (IsSkinFileName); a name over 99 bytes,
// which cut short would name a picture that does not exist; a name holding '?', which no file name
// holds, the mark an ANSI search puts for a character the code page lacks. A full catalogue keeps
// the kMaxSkins names that sort first, whatever order the files are reported in.
int AddSkinName(SkinName* names, int count, const char* fileName);

// Writes the name as a menu item's text, every '&' doubled: a single '&' would underline the next
// character instead of showing, so "Tom&Jerry" is given as "Tom&&Jerry". Returns 1 if the text and
// its terminator fit into size bytes; otherwise out is left as "" and 0 is returned.
int MakeMenuText(const char* name, char* out, size_t size);
