// The yardstick for start-up: a Win32 program that only shows a plain 120 x 120 window and runs
// its message loop until the window is closed.
#include <windows.h>

static LRESULT CALLBACK MinimalWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
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
  windowClass.lpszClassName = "MinimalWindowClass";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "MinimalWindowClass", "Minimal", WS_POPUP, CW_USEDEFAULT,
                                CW_USEDEFAULT, 120, 120, NULL, NULL, instance, NULL);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
  return static_cast<int>(message.wParam);
}
