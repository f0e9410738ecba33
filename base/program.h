// What every part of the program shares: the one program-state record, the install directory and
// the files named inside it, setting.ini, and the message box. This module sits at the bottom:
// skins/, shell/, about/ and the accessory window use it, and it calls none of them.
// The settings file is setting.ini beside the executable: section MAIN, key SKIN, the skin's name
// (plain #defines below, which the tests and scripts read too).
#pragma once
#include <windows.h>

#include "base/paths.h"
#include "base/skin_names.h"

#define SETTINGS_FILE "setting.ini"
#define SETTINGS_SECTION "MAIN"
#define SETTINGS_KEY "SKIN"

// The accessory window's class, by which other programs (the tests and benchmarks too) find it.
#define ACCESSORY_CLASS "PerchlingClass"

// The longest name Perchling forms inside its install directory at start: the default picture.
const char kLongestInstallName[] = "skin\\default.bmp";

// setting.ini in the install directory: read at start, written by teardown and the skin switch.
const char kSettingsPathPattern[] = "%s" SETTINGS_FILE;

// The executable in the install directory: started again by the skin switch, and the target of
// the Startup shortcut.
const char kProgramPathPattern[] = "%sPerchling.exe";

enum {
  kShellExecuteFailed = 32,  // ShellExecuteA results up to this one are errors (32: a DLL missing)
};

// The one record of program-wide values. Every field is zero when the process starts; the comment
// on each field names who sets it and, for platform objects, who releases them. Only the thread
// that runs the message loop touches it.
struct ProgramState {
  HINSTANCE instance;               // the executable; resources come from it
  char installDir[kPathSize];       // ends with a backslash; "" if it cannot be had
  char currentSkin[kPathSize];      // from setting.ini; the skin switch replaces it
  int settingTooLong;               // 1: SKIN did not fit; teardown won't cut it
  char foregroundTitle[kPathSize];  // scratch for the follow tick
  SkinName skinNames[kMaxSkins];    // the skin catalogue, sorted
  int skinCount;                    // entries in use in skinNames
  HMENU popupMenu;                  // context menu; destroyed by teardown, rescan, switch
  HMENU skinMenu;                   // the "スキン" submenu, owned by popupMenu
  int accessoryTornDown;            // 1 once teardown or the skin switch stopped the accessory
  int skinWidth;                    // accessory size, from the skin picture
  int skinHeight;
  int keptWidth;                    // the size the platform kept when given the skin's size;
  int keptHeight;                   // smaller for a picture beyond its range (set by each sizing)
  HBITMAP classPicture;  // pattern of the class brush; lives with the class
  HFONT linkFont;        // About box link font; deleted when the box closes
  HCURSOR linkCursor;    // cursor over the About box links (a shared resource)
  int linkVisited[2];    // per About box link: opened since the box opened
};

extern ProgramState g_state;

// 1 if the running executable's path, and every path Perchling forms in its folder at start (the
// longest is kLongestInstallName's), can be written within kPathSize bytes, terminator included, in
// the system's ANSI code page. Measured from the wide path: a Japanese character takes 2 bytes
// under 932 and 3 under 65001, and GetModuleFileNameA cuts a path that does not fit without a word.
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

// Loads the skin's picture from its file; NULL if there is none or it cannot be read.
HBITMAP LoadSkinPicture(const char* skinName);

// Reads the current skin's name from setting.ini ("default" when file, section or key is missing).
// A name too long for currentSkin is kept cut there and marked in settingTooLong.
int LoadSettings();

// Writes the current skin's name to setting.ini. Returns 1 if the write succeeded.
int SaveSettings();

// Shows a message box titled "Perchling" with the buttons (OK unless told) and returns the answer.
// The text is wide, WIDE(TEXT_X): the program's own texts read the same under every code page.
int ShowMessage(HWND owner, const wchar_t* text, UINT buttons = MB_OK);
