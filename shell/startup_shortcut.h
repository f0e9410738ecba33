// Registration in the user's Startup folder by a shortcut to the program, Perchling.lnk. The COM
// library is initialised only around writing the shortcut. A registration that fails is reported
// as failed, and an existing shortcut is only ever replaced by a saved new one, never deleted.
#pragma once
#include <windows.h>

#define STARTUP_SHORTCUT_PATTERN "%s\\Perchling.lnk"  // in the Startup folder
#define STARTUP_ARGUMENTS "/s"  // ignored by the program; it marks a start by the shortcut

// Fills path (kPathSize bytes) with the Startup shortcut's path. Returns 0 if there is no Startup
// folder path or the result does not fit; path is then empty.
int MakeStartupShortcutPath(HWND owner, char* path);

// 1 if anything named Perchling.lnk is in the Startup folder, whatever it is.
int IsStartupRegistered(HWND owner);

// The Startup command: writes Perchling.lnk into the Startup folder, asking before replacing one,
// and reports completion or failure.
void RegisterStartup(HWND window);
