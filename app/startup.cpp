// Start-up, the install directory and the settings file. Start reading at StartAccessory().
#include "app/startup.h"

#include "app/accessory.h"
#include "app/program_state.h"
#include "skins/context_menu.h"

ProgramState g_state;

static const char kSettingsPattern[] = "%ssetting.ini";
static const char kSettingsSection[] = "MAIN";
static const char kSettingsKey[] = "SKIN";
static const char kDefaultSkin[] = "default";

void DeriveInstallDir(char* path) {
  // Cutting after the last backslash works for long and short (8.3) names alike; a path that
  // GetModuleFileNameA had to cut short names no real folder, so it is not used at all.
  DWORD length = GetModuleFileNameA(NULL, path, kPathSize);
  if (length == 0 || length >= kPathSize) {
    path[0] = 0;
    return;
  }
  CutAfterLastBackslash(path);
}

int MakeInstallPath(char* out, const char* pattern, const char* name) {
  if (!g_state.installDir[0]) {
    out[0] = 0;
    return 0;
  }
  return FormatPath(out, kPathSize, pattern, g_state.installDir, name);
}

int MakeSkinPicturePath(char* out, const char* skinName) {
  if (!IsPlainFileName(skinName)) {
    out[0] = 0;
    return 0;
  }
  return MakeInstallPath(out, "%sskin\\%s.bmp", skinName);
}

HBITMAP LoadSkinPicture(const char* skinName) {
  char path[kPathSize];
  if (!MakeSkinPicturePath(path, skinName)) return NULL;
  return static_cast<HBITMAP>(LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

int LoadSettings() {
  char path[kPathSize];
  g_state.settingTooLong = 0;
  if (!MakeInstallPath(path, kSettingsPattern, "")) {
    lstrcpynA(g_state.currentSkin, kDefaultSkin, kPathSize);
    return 0;
  }
  // Read with one byte to spare: a value that fills it did not fit currentSkin. The profile
  // functions cut such a value without a word, and teardown would then write the cut name back
  // over the user's setting; instead the file is left as it is.
  char value[kPathSize + 1];
  DWORD length = GetPrivateProfileStringA(kSettingsSection, kSettingsKey, kDefaultSkin, value,
                                          sizeof value, path);
  g_state.settingTooLong = length >= kPathSize;
  lstrcpynA(g_state.currentSkin, value, kPathSize);
  return 0;
}

int SaveSettings() {
  char path[kPathSize];
  if (!MakeInstallPath(path, kSettingsPattern, "")) return 0;
  return WritePrivateProfileStringA(kSettingsSection, kSettingsKey, g_state.currentSkin, path) ? 1
                                                                                                : 0;
}

ATOM RegisterAccessoryClass() {
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
  return RegisterClassExA(&windowClass);
}

void UnregisterAccessoryClass() {
  UnregisterClassA(ACCESSORY_CLASS, g_state.instance);  // deletes the class brush too
  if (g_state.classPicture) DeleteObject(g_state.classPicture);
  g_state.classPicture = NULL;
}

HWND StartAccessory(HINSTANCE instance, int showCommand) {
  g_state.instance = instance;
  DeriveInstallDir(g_state.installDir);
  return OpenAccessory(showCommand);
}

HWND OpenAccessory(int showCommand) {
  LoadSettings();
  RegisterAccessoryClass();
  HWND window = CreateWindowExA(kAccessoryExStyle, ACCESSORY_CLASS, ACCESSORY_TITLE,
                                kAccessoryStyle, CW_USEDEFAULT, CW_USEDEFAULT, kFallbackSize,
                                kFallbackSize, NULL, NULL, g_state.instance, NULL);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  SetUpContextMenu();
  return window;
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
