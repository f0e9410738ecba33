// The About box: dialog IDD_ABOUT, with the program's icon, its version and two home page links.
// Each link label shows its URL and opens it; it is blue until opened and purple afterwards, for as
// long as the box is open. The link font lives in g_state from WM_INITDIALOG until OK closes the
// box.
#pragma once
#include <windows.h>

enum {
  kLinkFontHeight = 12,
  kSystemColourBrush = COLOR_BTNFACE + 1,  // brush value of the dialog face colour
};

// Colours of a link, indexed by its linkVisited flag: blue until opened, then purple.
const COLORREF kLinkColours[2] = {0x00FF0000, 0x00800080};

// Shows the modal About box, owned by the accessory window.
void ShowAboutBox(HWND owner);

// The link labels' font; the caller deletes it.
HFONT CreateLinkFont();
