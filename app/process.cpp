// Start-up, the window class, the message loop and clean-up. Start reading at RunPerchling().
#include "app/process.h"

#include "app/accessory.h"
#include "base/install_paths.h"
#include "base/message_box.h"
#include "base/settings.h"
#include "res/texts.h"

ProgramState g_state;  // the process owns it for its whole life

// Registers "PerchlingClass" with the current skin's picture as its background brush. Returns 0,
// keeping nothing, if the class cannot be registered.
static ATOM RegisterAccessoryClass() {
  // Painting is nothing but the background erase: the brush's pattern starts at the client
  // area's origin and the window has exactly the picture's size, so the picture shows once.
  // Without a picture there is no brush and the window stays unpainted.
  g_state.classPicture = LoadSkinPicture(g_state.currentSkin);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = AccessoryWndProc;
  windowClass.hInstance = g_state.instance;
  windowClass.hIconSm = LoadIconA(NULL, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
  windowClass.hbrBackground = g_state.classPicture ? CreatePatternBrush(g_state.classPicture) : NULL;
  windowClass.lpszClassName = ACCESSORY_CLASS;
  ATOM registered = RegisterClassExA(&windowClass);
  if (!registered) {
    // No class owns the brush, so it and its picture are ours to delete.
    if (windowClass.hbrBackground) DeleteObject(windowClass.hbrBackground);
    if (g_state.classPicture) DeleteObject(g_state.classPicture);
    g_state.classPicture = NULL;
  }
  return registered;
}

// Unregisters the class and deletes its brush's picture (the window must be gone).
static void UnregisterAccessoryClass() {
  UnregisterClassA(ACCESSORY_CLASS, g_state.instance);  // deletes the class brush too
  if (g_state.classPicture) DeleteObject(g_state.classPicture);
  g_state.classPicture = NULL;
}

int RunPerchling(HINSTANCE instance, int showCommand) {
  g_state.instance = instance;
  // Before any file is touched: a path too long for the ANSI buffers is cut short, and in a
  // folder the code page cannot name the ANSI path leads nowhere (or to a look-alike folder);
  // every later failure would only mislead. The length comes first: a cut path reads back wrong
  // and would be blamed on its characters.
  if (!IsModulePathShortEnough()) {
    ShowMessage(NULL, WIDE(TEXT_FOLDER_PATH_TOO_LONG));
    return kFailedExitCode;
  }
  if (!IsModulePathExpressible()) {
    ShowMessage(NULL, WIDE(TEXT_FOLDER_UNNAMEABLE));
    return kFailedExitCode;
  }
  DeriveInstallDir(g_state.installDir);

  HWND window = SetUpAccessory(showCommand);
  if (!window) return kFailedExitCode;
  int exitCode = RunMessageLoop();
  CleanUpAccessory(window);
  return exitCode;
}

HWND SetUpAccessory(int showCommand) {
  LoadSettings();
  HWND window = NULL;
  if (RegisterAccessoryClass()) {
    window = OpenAccessoryWindow(showCommand);
    if (!window) UnregisterAccessoryClass();
  }
  // Without a window there is nothing to close: the message loop would wait for ever.
  if (!window) ShowMessage(NULL, WIDE(TEXT_START_FAILED));
  return window;
}

void CleanUpAccessory(HWND window) {
  CloseAccessoryWindow(window);
  UnregisterAccessoryClass();
}

int RunMessageLoop() {
  MSG message = {};
  BOOL got;
  while ((got = GetMessageA(&message, NULL, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // GetMessageA answers -1 when it fails; the message then holds no quit code.
  return got < 0 ? kFailedExitCode : static_cast<int>(message.wParam);
}
