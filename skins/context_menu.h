// The context menu: loaded from menu IDR_CONTEXT_MENU, with the "スキン" submenu of the catalogue
// inserted at the top. The popup and its submenu live in g_state until teardown, a rescan or the
// skin switch destroys them. The commands chosen in it are carried out by the accessory window
// (RouteCommand in app/accessory.cpp).
#pragma once
#include <windows.h>

// Builds the "スキン" submenu from a fresh scan and inserts it into *popup at position. The popup
// is passed by pointer, as the menu's callers have always passed it, but is only read.
int BuildContextMenu(HMENU* popup, UINT position);

// Checks the current skin's item, if the current skin is in the catalogue.
void MarkCurrentSkin();

// Start-up's part: load the menu, build the submenu, mark the current skin.
void CreateContextMenu();

// The rescan: a fresh menu and submenu, with no item checked.
int ReloadContextMenu();

// Destroys the popup and its submenu (nothing if there is none).
void DestroyContextMenu();

// Shows the context menu at a right-button press (lParam in client coordinates).
void ShowContextMenu(HWND window, LPARAM lParam);
