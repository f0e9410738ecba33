// The accessory window: opened and closed around the message loop, and its procedure: shape and
// size at creation, the follow tick, the commands of the context menu, and teardown. The procedure
// only dispatches; each message has its handler below. This is the one place that knows every
// subsystem: they know only base/.
#include "app/accessory.h"

#include "about/about_box.h"
#include "base/follow.h"
#include "base/install_paths.h"
#include "base/message_box.h"
#include "base/settings.h"
#include "res/resource.h"
#include "res/texts.h"
#include "shape/region.h"
#include "shell/startup_shortcut.h"
#include "skins/context_menu.h"
#include "skins/skin_switch.h"

// Moves the window to x, y with the skin's size, and remembers the size the platform kept: it keeps
// no window wider or taller than 32767, and the still tick must compare with what it has, not with
// what it was asked for, or a picture beyond that size would be repainted on every tick.
static void SizeAccessory(HWND window, int x, int y) {
  MoveWindow(window, x, y, g_state.skinWidth, g_state.skinHeight, TRUE);
  RECT kept;
  if (!GetWindowRect(window, &kept)) return;
  g_state.keptWidth = kept.right - kept.left;
  g_state.keptHeight = kept.bottom - kept.top;
}

// Gives the new window the picture's size and shape, and starts following.
static LRESULT OnCreate(HWND window) {
  SetTimer(window, kFollowTimerId, kFollowPeriodMs, NULL);
  RECT rect;
  GetWindowRect(window, &rect);

  // A load of its own: the class brush's picture is not ours to measure or delete.
  HBITMAP picture = LoadSkinPicture(g_state.currentSkin);
  HRGN shape = CreateRegionFromBitmap(picture, SKIN_KEY_COLOUR);
  BITMAP measured;
  if (picture && GetObjectA(picture, sizeof measured, &measured)) {
    g_state.skinWidth = measured.bmWidth;
    g_state.skinHeight = measured.bmHeight;
  } else {
    g_state.skinWidth = kFallbackSize;
    g_state.skinHeight = kFallbackSize;
    ShowMessage(window, WIDE(TEXT_PICTURE_SIZE_FAILED));
  }
  SizeAccessory(window, rect.left, rect.top);
  if (picture) DeleteObject(picture);

  // From here on the region belongs to the window; the property only remembers its handle.
  SetWindowRgn(window, shape, TRUE);
  SetPropA(window, REGION_PROPERTY, shape);
  return 0;
}

// Moves onto the foreground window's title bar, unless the foreground window is titled
// "Perchling" (this accessory, another copy of it, or one of its message boxes) or the accessory
// is already there.
static void OnTimer(HWND window) {
  HWND foreground = GetForegroundWindow();
  if (!foreground) return;
  GetWindowTextA(foreground, g_state.foregroundTitle, kPathSize);
  if (lstrcmpA(g_state.foregroundTitle, TEXT_TITLE) == 0) return;

  // Asked again: the window read above may have gone in the meantime.
  foreground = GetForegroundWindow();
  RECT rect;
  if (!foreground || !GetWindowRect(foreground, &rect)) return;
  FollowPoint perch = FollowPosition(rect.right, rect.top, g_state.skinWidth, g_state.skinHeight);

  // Already perched: there is nothing new to show, and under Wine a repaint costs the square of
  // the shape's rectangle count, more than a whole tick for a detailed skin, which would then keep
  // a core busy for ever.
  RECT now;
  if (!GetWindowRect(window, &now)) return;
  bool sameSize =
      now.right - now.left == g_state.keptWidth && now.bottom - now.top == g_state.keptHeight;
  if (sameSize && now.left == perch.x && now.top == perch.y) return;
  // A hop keeps the picture: the platform moves the window's contents and repaints only what the
  // move uncovers (parts that were off the screen, for one). Only a window of another size is
  // painted anew.
  if (!sameSize) InvalidateRect(window, NULL, TRUE);
  SizeAccessory(window, perch.x, perch.y);
}

// Drops the menus and the shape property and stops following, the reverse of opening: the part
// of teardown the skin switch shares. A stopped accessory tears down no more.
static void StopAccessory(HWND window) {
  DestroyContextMenu();
  if (GetPropA(window, REGION_PROPERTY)) RemovePropA(window, REGION_PROPERTY);
  KillTimer(window, kFollowTimerId);
  g_state.accessoryStopped = 1;
}

// A skin choice: once the choice is saved, this copy stops, starts a new copy of the program,
// which reads the choice from setting.ini, and leaves its message loop without teardown (the
// settings are written already).
static void SwitchSkin(HWND window, int index) {
  if (!SaveSkinChoice(window, index)) return;
  StopAccessory(window);
  StartNewCopy();
  PostQuitMessage(0);
}

void RouteCommand(HWND window, WPARAM wParam) {
  // A skin's identifier is matched against the whole wParam, the fixed commands by its low word.
  INT_PTR whole = static_cast<INT_PTR>(wParam);
  if (whole >= IDM_FIRST_SKIN && whole < IDM_FIRST_SKIN + g_state.skinCount) {
    SwitchSkin(window, static_cast<int>(whole - IDM_FIRST_SKIN));
    return;
  }
  switch (LOWORD(wParam)) {
    case IDM_CLOSE:
      SendMessageA(window, WM_DESTROY, 0, 0);  // teardown without destroying the window first
      break;
    case IDM_ABOUT:
      ShowAboutBox(window);
      break;
    case IDM_RESCAN:
      ReloadContextMenu();
      break;
    case IDM_STARTUP:
      RegisterStartup(window);
      break;
  }
}

// Teardown: reached when the window is destroyed and by the Close command. A setting that was
// too long to be read whole is not written back cut short. Once the Close command or the skin
// switch has stopped the accessory, destroying the window afterwards writes nothing: after a
// switch the new copy may have written setting.ini already.
static void OnDestroy(HWND window) {
  if (g_state.accessoryStopped) return;
  StopAccessory(window);
  if (!g_state.settingTooLong) SaveSettings();
  PostQuitMessage(0);
}

LRESULT CALLBACK AccessoryWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_TIMER:
      OnTimer(window);
      return 0;
    case WM_RBUTTONDOWN:
      ShowContextMenu(window, lParam);
      return 0;
    case WM_COMMAND:
      RouteCommand(window, wParam);
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND OpenAccessoryWindow(int showCommand) {
  HWND window = CreateWindowExA(kAccessoryExStyle, ACCESSORY_CLASS, TEXT_TITLE,
                                kAccessoryStyle, CW_USEDEFAULT, CW_USEDEFAULT, kFallbackSize,
                                kFallbackSize, NULL, NULL, g_state.instance, NULL);
  if (!window) return NULL;
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  CreateContextMenu();
  return window;
}

void CloseAccessoryWindow(HWND window) {
  DestroyContextMenu();  // gone already, unless the loop ended without teardown or switch
  if (IsWindow(window)) DestroyWindow(window);
}
