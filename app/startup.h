// Start-up: the install directory, the settings file, the window class and the accessory window.
// The settings file is setting.ini beside the executable: section MAIN, key SKIN, the skin's name.
#pragma once
#include <windows.h>

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

// Registers "PerchlingClass" with the current skin's picture as its background brush.
ATOM RegisterAccessoryClass();

// Unregisters the class and deletes its brush's picture (the window must be gone).
void UnregisterAccessoryClass();

// Start-up up to the message loop: install directory, then OpenAccessory(). Returns the window.
HWND StartAccessory(HINSTANCE instance, int showCommand);

// With instance and install directory known: settings, class, window and context menu.
HWND OpenAccessory(int showCommand);

// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop();
