// The accessory window: a topmost, captionless tool window cut to its skin's shape that follows
// the foreground window's title bar, and the routing of its commands to the subsystems. Once
// attached, the shape region belongs to the window; the window keeps its handle as a property
// until teardown or the skin switch.
#pragma once
#include <windows.h>

#include "app/follow.h"
#include "res/texts.h"

#define ACCESSORY_CLASS "PerchlingClass"
#define ACCESSORY_TITLE TEXT_TITLE  // also how the follow tick recognises the accessory itself
#define REGION_PROPERTY "PerchlingRegion"

enum {
  kFollowTimerId = 100,
  kFollowPeriodMs = FOLLOW_PERIOD_MS,
  kFallbackSize = 120,  // window size when the picture cannot be measured
  kAccessoryExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
};

const DWORD kAccessoryStyle = WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK AccessoryWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Carries out a WM_COMMAND: a skin choice, Close, About, rescan or Startup registration.
void RouteCommand(HWND window, WPARAM wParam);
