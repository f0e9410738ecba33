// The yardsticks, built the way Perchling.exe is: minimal_window only shows a plain 120 x 120
// window and runs its message loop until the window is closed (for start-up); minimal_timer,
// built from this file with MINIMAL_TIMER, also runs a timer of Perchling's follow period whose
// ticks do nothing (for idle cost).
#include <windows.h>

#include "base/follow.h"

#ifdef MINIMAL_TIMER
#define MINIMAL_CLASS "MinimalTimerClass"
#else
#define MINIMAL_CLASS "MinimalWindowClass"
#endif

static LRESULT CALLBACK MinimalWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);  // a tick: nothing to do
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = MinimalWndProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = MINIMAL_CLASS;
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, MINIMAL_CLASS, "Minimal", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                120, 120, NULL, NULL, instance, NULL);
#ifdef MINIMAL_TIMER
  SetTimer(window, 1, kFollowPeriodMs, NULL);
#endif
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
  return static_cast<int>(message.wParam);
}
