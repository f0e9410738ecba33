// The accessory window: a topmost, captionless tool window cut to its skin's shape that follows
// the foreground window's title bar, and the routing of its commands to the subsystems. Once
// attached, the shape region belongs to the window; the window keeps its handle as a property
// until teardown or the skin switch. The window's context menu is built when it opens and
// destroyed when it stops, here and nowhere else.
#pragma once
#include <windows.h>

#define REGION_PROPERTY "PerchlingRegion"

enum {
  kFollowTimerId = 100,
  kFallbackSize = 120,  // window size when the picture cannot be measured
  kAccessoryExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
};

const DWORD kAccessoryStyle = WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MINIMIZEBOX;

// Creates the accessory window (its creation gives it size, shape and the follow timer), shows it
// and builds its context menu. Returns NULL, having built nothing, if the window cannot be made.
HWND OpenAccessoryWindow(int showCommand);

// The mirror of OpenAccessoryWindow, once the message loop has ended: the menu, then the window if
// it is still there (the Close command and the skin switch leave it), without a second teardown.
void CloseAccessoryWindow(HWND window);

LRESULT CALLBACK AccessoryWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Carries out a WM_COMMAND: a skin choice, Close, About, rescan or Startup registration.
void RouteCommand(HWND window, WPARAM wParam);
