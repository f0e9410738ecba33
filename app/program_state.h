// The one record of program-wide values. Every field is zero when the process starts; the comment
// on each field names who sets it and, for platform objects, who releases them. Only the thread
// that runs the message loop touches it.
#pragma once
#include <windows.h>

#include "app/paths.h"
#include "skins/skin_names.h"

struct ProgramState {
  HINSTANCE instance;                           // the executable; resources come from it
  char installDir[kPathSize];                   // ends with a backslash; "" if it cannot be had
  char currentSkin[kPathSize];                  // from setting.ini; the skin switch replaces it
  int settingTooLong;                           // 1: SKIN did not fit; teardown won't cut it
  char foregroundTitle[kPathSize];              // scratch for the follow tick
  SkinName skinNames[kMaxSkins];                // the skin catalogue, sorted
  int skinCount;                                // entries in use in skinNames
  HMENU popupMenu;                              // context menu; destroyed by teardown, rescan, switch
  HMENU skinMenu;                               // the "スキン" submenu, owned by popupMenu
  int skinWidth;                                // accessory size, from the skin picture
  int skinHeight;
  HBITMAP classPicture;                         // pattern of the class brush; lives with the class
  HFONT linkFont;                               // About box link font; deleted when the box closes
  HCURSOR linkCursor;                           // cursor over the About box links (a shared resource)
  int linkVisited[2];                           // per About box link: opened since the box opened
};

// Colours of an About box link, indexed by its linkVisited flag: blue until opened, then purple.
const COLORREF kLinkColours[2] = {0x00FF0000, 0x00800080};

extern ProgramState g_state;
