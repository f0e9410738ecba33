// The one program-state record that every part of the program shares, and the window class's name
// by which other programs (the tests and benchmarks too) find the accessory. base/ sits at the
// bottom: skins/, shell/, about/ and the accessory window use it, and it calls none of them.
#pragma once
#include <windows.h>

#include "base/paths.h"
#include "base/skin_names.h"

#define ACCESSORY_CLASS "PerchlingClass"

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
  int accessoryStopped;             // 1 once teardown or the skin switch stopped the accessory
  int skinWidth;                    // accessory size, from the skin picture
  int skinHeight;
  int keptWidth;                    // the size the platform kept when given the skin's size;
  int keptHeight;                   // smaller for a picture beyond its range (set by each sizing)
  HBITMAP classPicture;  // pattern of the class brush; lives with the class
  HFONT linkFont;        // About box link font; deleted when the box closes
  HCURSOR linkCursor;    // cursor over the About box links (a shared resource)
  int linkVisited[2];    // per About box link: opened since the box opened
};

extern ProgramState g_state;  // defined with the process's life, app/process.cpp
