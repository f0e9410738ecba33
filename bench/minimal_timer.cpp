// The yardstick for idle cost: a Win32 program with a 120 x 120 window and a timer of Perchling's
// follow period whose ticks do nothing.
#include <windows.h>

#include "app/follow.h"

static LRESULT CALLBACK MinimalWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      return 0;
    case WM_DESTROY:
      KillTimer(window, 1);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = MinimalWndProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = "MinimalTimerClass";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "MinimalTimerClass", "Minimal timer", WS_POPUP, CW_USEDEFAULT,
                                CW_USEDEFAULT, 120, 120, NULL, NULL, instance, NULL);
  SetTimer(window, 1, FOLLOW_PERIOD_MS, NULL);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
  return static_cast<int>(message.wParam);
}
