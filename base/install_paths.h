// The install directory, derived at start from the executable's path (which must fit the ANSI
// buffers and be nameable in the code page), and the files Perchling names inside it.
#pragma once

#include "base/program_state.h"
#include "base/skin_names.h"

// A file in the skin folder (install directory, file name): a skin's picture is its name plus
// SKIN_EXTENSION, the folder's search "*" SKIN_EXTENSION.
#define SKIN_FILE_PATTERN "%s" SKIN_FOLDER "%s"

// The skin a missing setting selects: a fresh install holds its picture.
const char kDefaultSkin[] = "default";

// The executable in the install directory: started again by the skin switch, and the target of
// the Startup shortcut.
const char kProgramPathPattern[] = "%s" PROGRAM_FILE_NAME;

// 1 if the executable's path, and every path formed in its folder at start (the longest is the
// default skin's picture), fit kPathSize bytes with the terminator in the ANSI code page. Measured
// from the wide path (a Japanese character takes 2 bytes under 932, 3 under 65001):
// GetModuleFileNameA cuts a path that does not fit without a word.
int IsModulePathShortEnough();

// 1 if the system's ANSI code page can name the running executable's path: the ANSI path, read
// back into UTF-16, is the path itself. Where it is not, the ANSI functions see '?' or a look-alike
// letter in its place, and no file beside the program could be read or written.
int IsModulePathExpressible();

// Fills path (kPathSize bytes) with the directory of the running executable, final backslash
// included. A module path that does not fit leaves path empty: no file of the program can be named.
void DeriveInstallDir(char* path);

// Formats pattern with the install directory and name into out (kPathSize bytes). Returns 0, and
// names no file, when there is no install directory or the result does not fit.
int MakeInstallPath(char* out, const char* pattern, const char* name);

// Formats the path of the skin's picture, "<install dir>skin\<name>.bmp". Returns 0 for a name
// that would leave the skin folder (it holds '\', '/' or ':') or a path that does not fit.
int MakeSkinPicturePath(char* out, const char* skinName);
