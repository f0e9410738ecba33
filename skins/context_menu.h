// The context menu: loaded from menu IDR_CONTEXT_MENU, with the "スキン" submenu of the catalogue
// inserted at the top. The popup and its submenu live in g_state until teardown, a rescan or the
// skin switch destroys them. The commands chosen in it are carried out by the accessory window
// (RouteCommand in app/accessory.cpp).
#pragma once
#include <windows.h>

// Start-up's part: load the menu, build the submenu, mark the current skin.
void CreateContextMenu();

// The rescan: a fresh menu and submenu, with no item checked.
void ReloadContextMenu();

// Destroys the popup and its submenu (nothing if there is none).
void DestroyContextMenu();

// Shows the context menu at a right-button press (lParam in client coordinates).
void ShowContextMenu(HWND window, LPARAM lParam);
