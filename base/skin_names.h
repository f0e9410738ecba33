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

// A skin's file, named once for Perchling's catalogue and the skin kit: SKIN_FOLDER NAME
// SKIN_EXTENSION in the folder of PROGRAM_FILE_NAME.
#define SKIN_FOLDER "skin\\"
#define SKIN_EXTENSION ".bmp"
#define PROGRAM_FILE_NAME "Perchling.exe"
enum { kSkinExtensionLength = sizeof SKIN_EXTENSION - 1 };
// The characters a file search takes for any others, so no skin's name may hold them. Neither is
// ever the second byte of a double-byte character in any ANSI code page.
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

// 1 if the file name names one of the devices Windows keeps in every folder: CON, PRN, AUX, NUL,
// CONIN$, CONOUT$, COM1-9, LPT1-9 and COM or LPT with a superscript 1, 2 or 3, in any case, alone
// or before a dot ("nul.bmp", "nul.x.bmp"). Such a file cannot be opened as a picture, though a
// test for its existence finds it. The name is UTF-16, as the system reads it: a byte such as
// 0xB9 is the superscript 1 under code page 1252 but a katakana under 932.
int IsDeviceName(const wchar_t* fileName);

// 1 if the file name ends in ".bmp", in any case.
int HasSkinExtension(const char* fileName);

// 1 if the file name is a skin's: it ends in ".bmp" (in any case) after a name that keeps at least
// its first character (the catalogue asks IsDeviceName of the wide name). A "*.bmp" search also
// reports "bird.bmpx", "zz.bmp~" and "x.bmp." through their short (8.3) names; none of them is
// NAME.bmp.
int IsSkinFileName(const char* fileName);

// Adds a picture's file name to a catalogue of count entries and returns the new count. The name
// goes in without its extension; a file name that is not a skin's (IsSkinFileName) is skipped. A
// name longer than 99 bytes is skipped: cut short it would name a picture that does not exist. A
// name holding '?' is skipped too: no file name holds one, so it is the mark an ANSI file search
// puts for a character the code page lacks (the catalogue gives only exact names, but a name with
// '?' would be a wildcard when the picture is looked for). A full catalogue keeps the kMaxSkins
// names that sort first, so the catalogue does not depend on the order in which files are reported.
int AddSkinName(SkinName* names, int count, const char* fileName);

// Writes the name as a menu item's text, every '&' doubled: a single '&' would underline the next
// character instead of showing, so "Tom&Jerry" is given as "Tom&&Jerry". Returns 1 if the text and
// its terminator fit into size bytes; otherwise out is left as "" and 0 is returned.
int MakeMenuText(const char* name, char* out, size_t size);
