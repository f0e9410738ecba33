// Looks at running copies of Perchling from outside, as another program on the desktop would.
//   perch_probe rect              the first accessory's window rectangle: left top right bottom
//   perch_probe count             how many accessory windows there are
//   perch_probe region            the first accessory's shape, one rectangle a line
//   perch_probe close             asks every accessory to close, as the close keystroke does
//   perch_probe wait SECONDS      waits until an accessory window is there
//   perch_probe target TITLE X Y W H   shows a green window in front until it is closed
//   perch_probe dialog PREFIX     the first visible dialog box whose title starts with PREFIX: its
//                                 rectangle, then the text of each static control, in UTF-8
//   perch_probe box SECONDS [ID]  waits for a message box titled "Perchling", prints its text
//                                 (UTF-8) and answers it with button ID (default OK)
//   perch_probe post ID           posts the menu command ID to the accessory window
//   perch_probe switch ID SECONDS posts the skin command ID to the only accessory window and
//                                 waits until a new accessory window has replaced it
//   perch_probe window            the accessory window's handle, to tell copies apart
//   perch_probe menus             how many popup menus are open on the screen
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "base/program_state.h"
#include "res/texts.h"

static BOOL CALLBACK CountAccessory(HWND window, LPARAM context) {
  char name[64];
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, ACCESSORY_CLASS) == 0) ++*reinterpret_cast<int*>(context);
  return TRUE;
}

static BOOL CALLBACK CountOpenMenu(HWND window, LPARAM context) {
  char name[64];
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, "#32768") == 0 && IsWindowVisible(window)) ++*reinterpret_cast<int*>(context);
  return TRUE;
}

static BOOL CALLBACK AskAccessoryToClose(HWND window, LPARAM) {
  char name[64];
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, ACCESSORY_CLASS) == 0) PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

// The search of the dialog command: a title prefix in, the first matching dialog out.
struct DialogSearch {
  const char* prefix;
  HWND found;
};

static BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
  DialogSearch* search = reinterpret_cast<DialogSearch*>(context);
  char name[64], title[256];
  GetClassNameA(window, name, sizeof name);
  GetWindowTextA(window, title, sizeof title);
  if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window) ||
      strncmp(title, search->prefix, strlen(search->prefix)) != 0)
    return TRUE;
  search->found = window;
  return FALSE;
}

// Prints a window's text as UTF-8, for the tests that read it. The text is read wide, as the
// screen shows it, so it is the same whatever code page the probe or the program runs under.
static void PrintUtf8(const wchar_t* text) {
  char utf8[3072];
  if (!WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL)) return;
  printf("%s\n", utf8);
}

static BOOL CALLBACK PrintStaticText(HWND child, LPARAM) {
  char name[64];
  wchar_t text[1024];
  GetClassNameA(child, name, sizeof name);
  // An icon's text is its resource number, not words on the screen.
  bool icon = (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
  if (lstrcmpiA(name, "Static") == 0 && !icon && GetWindowTextW(child, text, 1024) > 0)
    PrintUtf8(text);
  return TRUE;
}

static int PrintDialog(const char* prefix) {
  DialogSearch search = {prefix, NULL};
  EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return 1;
  RECT rect;
  GetWindowRect(search.found, &rect);
  printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
  EnumChildWindows(search.found, PrintStaticText, 0);
  return 0;
}

static BOOL CALLBACK FindStaticText(HWND child, LPARAM context) {
  char className[32];
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Static") == 0 && GetWindowTextLengthW(child) > 0)
    GetWindowTextW(child, reinterpret_cast<wchar_t*>(context), 1024);
  return TRUE;
}

// Waits for a message box titled "Perchling", prints its text and answers it.
static int AnswerBox(int seconds, int answer) {
  DWORD until = GetTickCount() + 1000 * seconds;
  HWND box;
  while (!(box = FindWindowA("#32770", TEXT_TITLE))) {
    if (GetTickCount() > until) {
      fprintf(stderr, "no message box titled %s within %d s\n", TEXT_TITLE, seconds);
      return 1;
    }
    Sleep(50);
  }
  wchar_t text[1024] = L"";
  EnumChildWindows(box, FindStaticText, reinterpret_cast<LPARAM>(text));
  PrintUtf8(text);
  PostMessageA(box, WM_COMMAND, answer, 0);
  return 0;
}

// Posts a skin command to the one accessory window and waits for the copy that replaces it.
static int SwitchSkin(int command, int seconds) {
  HWND old = FindWindowA(ACCESSORY_CLASS, NULL);
  if (!old) return 1;
  PostMessageA(old, WM_COMMAND, command, 0);
  DWORD until = GetTickCount() + 1000 * seconds;
  for (;;) {
    HWND now = FindWindowA(ACCESSORY_CLASS, NULL);
    if (now && now != old && !IsWindow(old)) {
      printf("%p\n", static_cast<void*>(now));
      return 0;
    }
    if (GetTickCount() > until) {
      fprintf(stderr, "no new accessory window replaced the old one within %d s\n", seconds);
      return 1;
    }
    Sleep(20);
  }
}

static int PrintRegion(HWND accessory) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  int kind = GetWindowRgn(accessory, region);
  printf("kind %d\n", kind);
  DWORD size = GetRegionData(region, 0, NULL);
  RGNDATA* data = static_cast<RGNDATA*>(malloc(size ? size : 1));
  if (size && GetRegionData(region, size, data)) {
    RECT* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
      printf("%ld %ld %ld %ld\n", rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
  }
  free(data);
  DeleteObject(region);
  return 0;
}

static LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

static int ShowTarget(const char* title, int x, int y, int width, int height) {
  WNDCLASSA target = {};
  target.lpfnWndProc = TargetProc;
  target.hInstance = GetModuleHandleA(NULL);
  target.hbrBackground = CreateSolidBrush(RGB(0, 160, 0));
  target.hCursor = LoadCursorA(NULL, IDC_ARROW);
  target.lpszClassName = "PerchTarget";
  RegisterClassA(&target);
  HWND window = CreateWindowExA(0, "PerchTarget", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y,
                                width, height, NULL, NULL, target.hInstance, NULL);
  SetForegroundWindow(window);
  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

int main(int argc, char** argv) {
  setvbuf(stdout, NULL, _IONBF, 0);
  if (argc < 2) return 2;
  const char* command = argv[1];
  if (strcmp(command, "target") == 0 && argc == 7)
    return ShowTarget(argv[2], atoi(argv[3]), atoi(argv[4]), atoi(argv[5]), atoi(argv[6]));
  if (strcmp(command, "count") == 0 || strcmp(command, "menus") == 0) {
    WNDENUMPROC counter = strcmp(command, "count") == 0 ? CountAccessory : CountOpenMenu;
    int count = 0;
    EnumWindows(counter, reinterpret_cast<LPARAM>(&count));
    printf("%d\n", count);
    return 0;
  }
  if (strcmp(command, "dialog") == 0 && argc == 3) return PrintDialog(argv[2]);
  if (strcmp(command, "close") == 0) return !EnumWindows(AskAccessoryToClose, 0);
  if (strcmp(command, "box") == 0 && argc >= 3)
    return AnswerBox(atoi(argv[2]), argc > 3 ? atoi(argv[3]) : IDOK);
  if (strcmp(command, "switch") == 0 && argc == 4) return SwitchSkin(atoi(argv[2]), atoi(argv[3]));
  if (strcmp(command, "wait") == 0 && argc == 3) {
    DWORD until = GetTickCount() + 1000 * atoi(argv[2]);
    while (!FindWindowA(ACCESSORY_CLASS, NULL)) {
      if (GetTickCount() > until) {
        fprintf(stderr, "no accessory window within %s s\n", argv[2]);
        return 1;
      }
      Sleep(50);
    }
    return 0;
  }
  HWND accessory = FindWindowA(ACCESSORY_CLASS, NULL);
  if (!accessory) return 1;
  // The window exists from inside its creation on, at its first size and with no shape; it is
  // shown once creation is over, so only a shown one has its size and shape.
  if (!IsWindowVisible(accessory) &&
      (strcmp(command, "rect") == 0 || strcmp(command, "region") == 0))
    return 1;
  if (strcmp(command, "rect") == 0) {
    RECT rect;
    GetWindowRect(accessory, &rect);
    printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
  }
  if (strcmp(command, "region") == 0) return PrintRegion(accessory);
  if (strcmp(command, "post") == 0 && argc == 3)
    return !PostMessageA(accessory, WM_COMMAND, atoi(argv[2]), 0);
  if (strcmp(command, "window") == 0) {
    printf("%p\n", static_cast<void*>(accessory));
    return 0;
  }
  return 2;
}
