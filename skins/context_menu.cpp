// Loading, building and showing the context menu.
#include "skins/context_menu.h"

#include "base/program_state.h"
#include "res/resource.h"
#include "res/texts.h"
#include "skins/catalogue.h"

// Loads menu IDR_CONTEXT_MENU and keeps its popup. The popup is detached from the loaded menu,
// which is then destroyed, so that destroying the popup later leaves nothing behind.
static void LoadContextMenu() {
  HMENU loaded = LoadMenuA(g_state.instance, MAKEINTRESOURCEA(IDR_CONTEXT_MENU));
  g_state.popupMenu = GetSubMenu(loaded, 0);
  if (loaded) {
    RemoveMenu(loaded, 0, MF_BYPOSITION);
    DestroyMenu(loaded);
  }
}

// Inserts the "スキン" submenu, from a fresh scan, at the top of the popup. Skin names are file
// names and stay ANSI; the program's own texts go in wide, to read the same on every code page.
static void BuildContextMenu() {
  g_state.skinMenu = CreatePopupMenu();
  ScanSkins();

  if (g_state.skinCount > 0) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fType = MFT_STRING;
    item.fMask = MIIM_ID | MIIM_TYPE;
    char text[kMenuTextSize];
    for (int i = 0; i < g_state.skinCount; ++i) {
      // The item shows the name as written; the catalogue keeps the name itself.
      MakeMenuText(g_state.skinNames[i], text, sizeof text);
      item.wID = IDM_FIRST_SKIN + i;
      item.dwTypeData = text;
      InsertMenuItemA(g_state.skinMenu, i, TRUE, &item);
    }
  } else {
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fType = MFT_STRING;
    item.fMask = MIIM_STATE | MIIM_TYPE;
    item.fState = MFS_GRAYED;
    item.dwTypeData = const_cast<wchar_t*>(WIDE(TEXT_MENU_NO_SKINS));
    InsertMenuItemW(g_state.skinMenu, 0, TRUE, &item);
  }

  MENUITEMINFOW submenu = {};
  submenu.cbSize = sizeof submenu;
  submenu.fMask = MIIM_SUBMENU | MIIM_TYPE;
  submenu.fType = MFT_STRING;
  submenu.hSubMenu = g_state.skinMenu;
  submenu.dwTypeData = const_cast<wchar_t*>(WIDE(TEXT_MENU_SKINS));
  InsertMenuItemW(g_state.popupMenu, 0, TRUE, &submenu);
}

// Checks the current skin's item, if the current skin is in the catalogue.
static void MarkCurrentSkin() {
  for (int i = 0; i < g_state.skinCount; ++i) {
    if (lstrcmpA(g_state.skinNames[i], g_state.currentSkin) == 0) {
      MENUITEMINFOA item = {};
      item.cbSize = sizeof item;
      item.fMask = MIIM_STATE;
      item.fState = MFS_CHECKED;
      SetMenuItemInfoA(g_state.popupMenu, IDM_FIRST_SKIN + i, FALSE, &item);
      return;
    }
  }
}

void CreateContextMenu() {
  LoadContextMenu();
  BuildContextMenu();
  MarkCurrentSkin();
}

void DestroyContextMenu() {
  if (g_state.popupMenu) DestroyMenu(g_state.popupMenu);  // the submenu goes with it
  g_state.popupMenu = NULL;
  g_state.skinMenu = NULL;
}

void ReloadContextMenu() {
  DestroyContextMenu();
  LoadContextMenu();
  BuildContextMenu();
}

void ShowContextMenu(HWND window, LPARAM lParam) {
  POINT point = {static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
  ClientToScreen(window, &point);
  TrackPopupMenu(g_state.popupMenu, 0, point.x, point.y, 0, window, NULL);
}
