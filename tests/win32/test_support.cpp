// Plumbing for the in-process Win32 tests.
#include "test_support.h"

#include "app/program.h"
#include "app/startup.h"
#include "bmp_files.h"
#include "skins/context_menu.h"

void WriteBmp24(const std::string& path, const Picture& picture) {
  WriteBmp(path, picture, BmpFormat{24, false, false, 0});
}

void WriteBmp8(const std::string& path, const Picture& picture) {
  WriteBmp(path, picture, BmpFormat{8, false, false, 0});
}

HRGN ExpectedShape(const Picture& picture) {
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (picture.colour(x, y) != kMagenta) {
        HRGN pixel = CreateRectRgn(x, y, x + 1, y + 1);
        CombineRgn(shape, shape, pixel, RGN_OR);
        DeleteObject(pixel);
      }
  return shape;
}

TempInstall::TempInstall() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static int serial = 0;
  char name[MAX_PATH];
  wsprintfA(name, "%sperchling-test-%lu-%d\\", temp, GetCurrentProcessId(), ++serial);
  dir = name;
  RemoveTree(dir);
  CreateDirectoryA(dir.c_str(), NULL);
  CreateDirectoryA((dir + "skin").c_str(), NULL);
}

TempInstall::~TempInstall() { RemoveTree(dir); }

void RemoveTree(const std::string& dir) {
  std::string base = dir;
  if (!base.empty() && base.back() != '\\') base += '\\';
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = base + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  SetFileAttributesA(base.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(base.c_str());
}

// Opens a file by its wide name with the \\?\ prefix, so that tests can reach paths longer than
// the program itself ever may.
static HANDLE OpenFile(const std::string& path, DWORD access, DWORD disposition) {
  wchar_t wide[1024] = L"\\\\?\\";
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide + 4, 1000);
  return CreateFileW(wide, access, FILE_SHARE_READ, NULL, disposition, 0, NULL);
}

void WriteTextFile(const std::string& path, const std::string& text) {
  HANDLE file = OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL);
  CloseHandle(file);
}

std::string ReadTextFile(const std::string& path) {
  HANDLE file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

// The one answerer installed; message boxes run on this thread, so a thread timer reaches it.
static MessageBoxAnswerer* g_answerer = nullptr;
static UINT_PTR g_answerTimer = 0;

static BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
  char className[32], text[1024];
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0) {
    *reinterpret_cast<std::string*>(context) = text;
  }
  return TRUE;
}

static void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_answerer) return;
  HWND box = FindWindowA("#32770", g_answerer->title.c_str());
  if (!box || GetWindowThreadProcessId(box, NULL) != GetCurrentThreadId()) return;
  if (GetPropA(box, "answered")) return;
  SetPropA(box, "answered", reinterpret_cast<HANDLE>(1));
  std::string text;
  EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
  g_answerer->texts.push_back(text);
  PostMessageA(box, WM_COMMAND, g_answerer->answer, 0);
}

MessageBoxAnswerer::MessageBoxAnswerer(int answer, const char* title)
    : answer(answer), title(title) {
  g_answerer = this;
  g_answerTimer = SetTimer(NULL, 0, 30, AnswerMessageBox);
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  KillTimer(NULL, g_answerTimer);
  g_answerer = nullptr;
}

void PumpMessages(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > milliseconds) return done();
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));  // keep it for the test to see
        return done();
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

int DrainQuit(WPARAM* exitCode) {
  int sawQuit = 0;
  MSG message;
  while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      sawQuit = 1;
      if (exitCode) *exitCode = message.wParam;
      continue;
    }
    DispatchMessageA(&message);
  }
  return sawQuit;
}

OpenedAccessory::OpenedAccessory(const std::string& installDir, int showCommand) {
  ZeroMemory(&g_state, sizeof g_state);
  g_state.instance = GetModuleHandleA(NULL);
  lstrcpynA(g_state.installDir, installDir.c_str(), kPathSize);
  window = OpenAccessory(showCommand);
}

OpenedAccessory::~OpenedAccessory() { Close(); }

void OpenedAccessory::Close() {
  if (window && IsWindow(window)) DestroyWindow(window);
  window = NULL;
  DestroyContextMenu();
  DrainQuit();
  UnregisterAccessoryClass();
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

RECT RegionBox(HRGN region) {
  RECT box = {};
  GetRgnBox(region, &box);
  return box;
}
