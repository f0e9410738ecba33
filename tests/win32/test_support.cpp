// Plumbing for the in-process Win32 tests. Start reading at StartModalWatch(): the one thread
// timer that answers, runs or closes every modal window the tests meet.
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/process.h"

// A path as a wide string with the \\?\ prefix, which lifts MAX_PATH: tests reach paths longer
// than the program itself ever may, and must be able to remove them again.
static std::wstring LongPath(const std::string& path) {
  wchar_t wide[1024];
  if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, 1024)) return L"";
  return std::wstring(L"\\\\?\\") + wide;
}

TempInstall::TempInstall() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  // A name no other test, run or process has: a folder that is already there is never reused.
  static int serial = 0;
  for (;;) {
    char name[MAX_PATH];
    wsprintfA(name, "%sperchling-test-%lu-%d\\", temp, GetCurrentProcessId(), ++serial);
    if (CreateDirectoryA(name, NULL)) {
      dir = name;
      break;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      ADD_FAILURE() << "cannot make the folder " << name;
      dir = name;
      break;
    }
  }
  CreateDirectoryA((dir + "skin").c_str(), NULL);
}

TempInstall::TempInstall(const std::vector<std::string>& skins, const Picture& picture,
                         const char* currentSkin)
    : TempInstall() {
  for (const std::string& name : skins) WriteBmp(Skin(name), picture);
  if (currentSkin) WriteTextFile(dir + kSettingsFile, SettingsNaming(currentSkin));
}

TempInstall::~TempInstall() { RemoveTree(dir); }

std::string TempInstall::Settings() const { return ReadTextFile(dir + kSettingsFile); }

std::string SourceSkinFolder() {
  std::string path = PERCHLING_SOURCE_DIR "/skin/";
  if (path[0] == '/') path = "Z:" + path;  // under Wine the Unix root is drive Z:
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string SettingsNaming(const std::string& skin) {
  return "[MAIN]\r\nSKIN=" + skin + "\r\n";
}

std::wstring SaveFailedText(const std::string& installDir) {
  wchar_t path[kPathSize];
  MultiByteToWideChar(CP_ACP, 0, (installDir + kSettingsFile).c_str(), -1, path, kPathSize);
  return L"設定を保存できませんでした。\n" + std::wstring(path) +
         L"\n\nファイルが読み取り専用になっているか、管理者の権限がないと書き込めないフォルダ"
         L"（C:\\Program Files の中など）に置かれているためと思われます。\nファイルのプロパティで"
         L"「読み取り専用」を外すか、Perchling のフォルダを書き込める場所（たとえば "
         L"C:\\Tools\\Perchling）に移してください。";
}

static void RemoveLongTree(const std::wstring& base) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((base + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = base + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveLongTree(path + L"\\");
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(base.c_str());
}

void RemoveTree(const std::string& dir) {
  std::string base = dir;
  if (!base.empty() && base.back() != '\\') base += '\\';
  RemoveLongTree(LongPath(base));
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

void WriteBmp(const std::string& path, const Picture& picture, const BmpFormat& format) {
  WriteTextFile(path, BmpBytes(picture, format));
}

// What the watch serves: the answerer in place, and the dialog a WithDialog call waits for.
struct DialogWait {
  const wchar_t* title;
  const std::function<void(HWND)>* body;
  DWORD since;   // when the wait, or the closing after the body, began
  bool bodyRan;
  bool failed;   // the deadline passed: the dialog was closed by force
};
static MessageBoxAnswerer* g_answerer = nullptr;
static DialogWait* g_dialogWait = nullptr;
const char kSeenProperty[] = "PerchlingTestSeen";  // set on each modal window once it is handled

static std::string WindowText(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Read wide, as the screen shows it: an ANSI read would hide a text given in the wrong code page.
static std::wstring WideWindowText(HWND window) {
  wchar_t text[1024] = L"";
  GetWindowTextW(window, text, sizeof text / sizeof text[0]);
  return text;
}

static BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
  char className[32];
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Static") == 0 && GetWindowTextLengthW(child) > 0)
    *reinterpret_cast<std::wstring*>(context) = WideWindowText(child);
  return TRUE;
}

// A message box's text: its last static control with text (the first may be its icon).
static std::wstring BoxText(HWND box) {
  std::wstring text;
  EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

static bool IsDialog(HWND window) {
  char className[32];
  GetClassNameA(window, className, sizeof className);
  return lstrcmpA(className, "#32770") == 0;
}

// Runs the waiting body on the dialog once the dialog loop has shown it (Wine shows a modal dialog
// only after its first idle moment or timer message), then closes it with OK if it is still open.
static void RunDialogBody(HWND dialog) {
  if (!IsWindowVisible(dialog)) return;
  SetPropA(dialog, kSeenProperty, reinterpret_cast<HANDLE>(1));
  DialogWait* wait = g_dialogWait;
  wait->bodyRan = true;
  (*wait->body)(dialog);
  wait->since = GetTickCount();  // from now on the deadline is for the closing
  if (IsWindow(dialog) && IsWindowVisible(dialog)) SendMessageA(dialog, WM_COMMAND, IDOK, 0);
}

static void AnswerBox(HWND box) {
  SetPropA(box, kSeenProperty, reinterpret_cast<HANDLE>(1));
  g_answerer->texts.push_back(BoxText(box));
  PostMessageA(box, WM_COMMAND, g_answerer->answer, 0);
}

// A dialog nothing waits for would block the test for ever: it fails the test and is closed.
static void CloseUnexpected(HWND dialog) {
  SetPropA(dialog, kSeenProperty, reinterpret_cast<HANDLE>(1));
  ADD_FAILURE() << "a dialog titled \"" << WindowText(dialog) << "\" saying \"" << BoxText(dialog)
                << "\" appeared, and the test was not waiting for it";
  EndDialog(dialog, IDCANCEL);
}

static BOOL CALLBACK VisitModalWindow(HWND window, LPARAM) {
  if (!IsDialog(window) || GetPropA(window, kSeenProperty)) return TRUE;
  bool waited = g_dialogWait && WideWindowText(window) == g_dialogWait->title;
  if (waited && !g_dialogWait->bodyRan) {
    RunDialogBody(window);
  } else if (g_answerer && WindowText(window) == g_answerer->title) {
    AnswerBox(window);
  } else if (!waited) {
    CloseUnexpected(window);
  }
  return TRUE;
}

static BOOL CALLBACK EndDialogOfThread(HWND window, LPARAM) {
  if (IsDialog(window) && IsWindow(window)) EndDialog(window, IDCANCEL);
  return TRUE;
}

// The dialog waited for did not show, or did not close, in time: every dialog of the thread is
// ended so that the modal loops return and the test can go on to report it.
static void EnforceDialogDeadline() {
  DialogWait* wait = g_dialogWait;
  if (!wait || wait->failed || GetTickCount() - wait->since < kPatienceMs) return;
  wait->failed = true;
  ADD_FAILURE() << "waited " << kPatienceMs / 1000 << " s for the dialog \"" << wait->title << "\" to "
                << (wait->bodyRan ? "close" : "be shown");
  EnumThreadWindows(GetCurrentThreadId(), EndDialogOfThread, 0);
}

static void CALLBACK WatchModalWindows(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), VisitModalWindow, 0);
  EnforceDialogDeadline();
}

void StartModalWatch() { SetTimer(NULL, 0, 25, WatchModalWindows); }

MessageBoxAnswerer::MessageBoxAnswerer(int answer, const char* title)
    : answer(answer), title(title), outer(g_answerer) {
  g_answerer = this;
}

MessageBoxAnswerer::~MessageBoxAnswerer() { g_answerer = outer; }

bool WithDialog(const wchar_t* title, const std::function<void()>& open,
                const std::function<void(HWND)>& body) {
  DialogWait wait = {title, &body, GetTickCount(), false, false};
  DialogWait* outer = g_dialogWait;
  g_dialogWait = &wait;
  open();
  g_dialogWait = outer;
  return wait.bodyRan && !wait.failed;
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

bool PumpUntilIdle(DWORD milliseconds) {
  return PumpUntil([] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; }, milliseconds);
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
  window = SetUpAccessory(showCommand);
}

OpenedAccessory::~OpenedAccessory() { Close(); }

void OpenedAccessory::Close() {
  CleanUpAccessory(window);
  window = NULL;
  DrainQuit();
}

TargetWindow::TargetWindow(const std::string& title, int x, int y, int width, int height)
    : window(CreateWindowExA(0, "STATIC", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y,
                             width, height, NULL, NULL, NULL, NULL)) {
  SetForegroundWindow(window);
}

TargetWindow::~TargetWindow() {
  if (IsWindow(window)) DestroyWindow(window);
}

void TargetWindow::BringToFront() {
  if (GetForegroundWindow() != window) SetForegroundWindow(window);
}

RECT PerchOn(HWND under, int width, int height) {
  RECT rect = WindowRect(under);
  // The perch's right edge 60 pixels left of the window's, its lowest 22 rows over the window.
  return {rect.right - 60 - width, rect.top + 22 - height, rect.right - 60, rect.top + 22};
}

std::string WineVersion() {
  typedef const char*(CDECL * VersionFunction)();
  FARPROC found = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
  return found ? reinterpret_cast<VersionFunction>(reinterpret_cast<void*>(found))() : "";
}

bool MisshapenOnScreen(const Picture& picture, int x, int y) {
  if (WineVersion().rfind("10.", 0) != 0) return false;
  for (int column = 0; column < picture.width;) {
    if (picture.colour(column, y) == kMagenta) {
      ++column;
      continue;
    }
    int start = column;
    while (column < picture.width && picture.colour(column, y) != kMagenta) ++column;
    if (start / 8 == x / 8 && (column - 1) / 8 == x / 8) return true;
  }
  return false;
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
