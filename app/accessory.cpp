// The accessory window's procedure: shape and size at creation, the follow tick, and teardown.
// The procedure only dispatches; each message has its handler below.
#include "app/accessory.h"

#include "res/texts.h"
#include "app/follow.h"
#include "app/program_state.h"
#include "app/startup.h"
#include "shape/region.h"
#include "skins/context_menu.h"

void ShowMessage(HWND owner, const char* text) {
  MessageBoxA(owner, text, TEXT_TITLE, MB_OK);
}

// Gives the new window the picture's size and shape, and starts following.
static LRESULT OnCreate(HWND window) {
  SetTimer(window, kFollowTimerId, kFollowPeriodMs, NULL);
  RECT rect;
  GetWindowRect(window, &rect);

  // A load of its own: the class brush's picture is not ours to measure or delete.
  HBITMAP picture = LoadSkinPicture(g_state.currentSkin);
  HRGN shape = CreateRegionFromBitmap(picture, kTransparentColour);
  BITMAP measured;
  if (picture && GetObjectA(picture, sizeof measured, &measured)) {
    g_state.skinWidth = measured.bmWidth;
    g_state.skinHeight = measured.bmHeight;
  } else {
    g_state.skinWidth = kFallbackSize;
    g_state.skinHeight = kFallbackSize;
    ShowMessage(window, TEXT_PICTURE_SIZE_FAILED);
  }
  MoveWindow(window, rect.left, rect.top, g_state.skinWidth, g_state.skinHeight, TRUE);
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
  if (lstrcmpA(g_state.foregroundTitle, ACCESSORY_TITLE) == 0) return;

  // Asked again: the window read above may have gone in the meantime.
  foreground = GetForegroundWindow();
  RECT rect;
  if (!foreground || !GetWindowRect(foreground, &rect)) return;
  FollowPoint perch = FollowPosition(rect.right, rect.top, g_state.skinWidth, g_state.skinHeight);

  // Already perched: there is nothing new to show (the platform repaints whatever gets uncovered
  // by itself), and under Wine a repaint costs the square of the shape's rectangle count, more
  // than a whole tick for a detailed skin, which would then keep a core busy for ever.
  RECT now;
  if (GetWindowRect(window, &now) && now.left == perch.x && now.top == perch.y &&
      now.right - now.left == g_state.skinWidth && now.bottom - now.top == g_state.skinHeight)
    return;
  InvalidateRect(window, NULL, TRUE);
  MoveWindow(window, perch.x, perch.y, g_state.skinWidth, g_state.skinHeight, TRUE);
}

void StopAccessory(HWND window) {
  KillTimer(window, kFollowTimerId);
  if (GetPropA(window, REGION_PROPERTY)) RemovePropA(window, REGION_PROPERTY);
  DestroyContextMenu();
}

// Teardown: reached when the window is destroyed and by the Close command. A setting that was
// too long to be read whole is not written back cut short.
static void OnDestroy(HWND window) {
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
      OpenContextMenu(window, lParam);
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
