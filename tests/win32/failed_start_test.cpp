// A start that cannot make its window class or its window says so, writes nothing, leaves nothing
// behind and ends the process with the failure exit code instead of waiting for ever with nothing
// to close. The message loop's exit code is defined even when GetMessageA fails. The failures are
// made in-process by patching the program's USER32 imports. However a whole run's loop ends,
// clean-up leaves nothing behind, and setting.ini is never written over what a new copy wrote.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "app/process.h"
#include "import_patch.h"
#include "object_counts.h"
#include "res/resource.h"
#include "test_support.h"

namespace {

ATOM WINAPI RefuseClass(const WNDCLASSEXA*) { return 0; }

HWND WINAPI RefuseWindow(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE,
                         LPVOID) {
  return NULL;
}

// A failing GetMessageA leaves the message record undefined: here it holds a stray wParam.
BOOL WINAPI FailGetMessage(MSG* message, HWND, UINT, UINT) {
  message->wParam = 12345;
  return -1;
}

// A quit with code 7 at once: were the message loop entered after a failed start, it would end
// with 7 rather than wait for ever.
BOOL WINAPI QuitAtOnce(MSG* message, HWND, UINT, UINT) {
  message->message = WM_QUIT;
  message->wParam = 7;
  return FALSE;
}

bool ClassIsRegistered() {
  WNDCLASSEXA info = {};
  info.cbSize = sizeof info;
  return GetClassInfoExA(GetModuleHandleA(NULL), ACCESSORY_CLASS, &info) != 0;
}

}  // namespace

TEST(FailedStart, AClassOrWindowThatCannotBeMadeIsReportedAndNothingIsWritten) {
  const struct {
    const char* function;
    void* refusal;
  } refusals[] = {{"RegisterClassExA", reinterpret_cast<void*>(RefuseClass)},
                  {"CreateWindowExA", reinterpret_cast<void*>(RefuseWindow)}};
  for (const auto& refusal : refusals) {
    SCOPED_TRACE(refusal.function);
    TempInstall install;  // with a picture, so that the class brush is made
    WriteBmp(install.Skin("default"), {8, 6, [](int, int) { return 0x00336699u; }});
    ZeroMemory(&g_state, sizeof g_state);
    g_state.instance = GetModuleHandleA(NULL);
    lstrcpynA(g_state.installDir, install.dir.c_str(), kPathSize);
    MessageBoxAnswerer answerer;
    HWND window;
    {
      ImportPatch patch("USER32.dll", refusal.function, refusal.refusal);
      ASSERT_NE(nullptr, patch.slot);
      window = SetUpAccessory(SW_SHOWNOACTIVATE);
    }
    EXPECT_EQ(NULL, window);
    ASSERT_EQ(1u, answerer.texts.size());
    EXPECT_EQ(kStartFailed, answerer.texts[0]);
    EXPECT_EQ("<missing>", ReadTextFile(install.dir + kSettingsFile));
    EXPECT_EQ(NULL, g_state.popupMenu) << "no menu without a window";
    EXPECT_EQ(NULL, g_state.classPicture) << "the brush's picture is deleted";
    EXPECT_FALSE(ClassIsRegistered());
    EXPECT_EQ(0, DrainQuit());
  }
}

TEST(FailedStart, EndsTheProcessWithTheFailureExitCode) {
  ZeroMemory(&g_state, sizeof g_state);
  char module[MAX_PATH] = "";
  GetModuleFileNameA(NULL, module, MAX_PATH);
  std::string settings = module;
  settings.replace(settings.rfind('\\') + 1, std::string::npos, kSettingsFile);
  std::string settingsBefore = ReadTextFile(settings);

  MessageBoxAnswerer answerer;
  int exitCode;
  {
    ImportPatch window("USER32.dll", "CreateWindowExA", reinterpret_cast<void*>(RefuseWindow));
    ImportPatch loop("USER32.dll", "GetMessageA", reinterpret_cast<void*>(QuitAtOnce));
    ASSERT_NE(nullptr, loop.slot);
    exitCode = RunPerchling(GetModuleHandleA(NULL), SW_SHOWNOACTIVATE);
  }
  EXPECT_EQ(kFailedExitCode, exitCode);
  ASSERT_EQ(1u, answerer.texts.size());
  EXPECT_EQ(kStartFailed, answerer.texts[0]);
  EXPECT_EQ(settingsBefore, ReadTextFile(settings)) << "nothing written beside the executable";
}

TEST(MessageLoop, EndsWithTheQuitCodeOrTheFailureCodeWhenGetMessageFails) {
  PostQuitMessage(5);
  EXPECT_EQ(5, RunMessageLoop());

  int exitCode;
  {
    ImportPatch patch("USER32.dll", "GetMessageA", reinterpret_cast<void*>(FailGetMessage));
    ASSERT_NE(nullptr, patch.slot);
    exitCode = RunMessageLoop();
  }
  EXPECT_EQ(kFailedExitCode, exitCode);
}

namespace {

std::string g_programPath;         // where the program believes it runs from
void (*g_endRun)(HWND) = nullptr;  // how the running accessory is to end; cleared once done
DWORD g_runStart;

DWORD WINAPI ProgramPath(HMODULE, LPSTR path, DWORD size) {
  lstrcpynA(path, g_programPath.c_str(), static_cast<int>(size));
  return static_cast<DWORD>(strlen(path));
}

// The same path as the program checks it: the ANSI name read back must be the wide one.
DWORD WINAPI ProgramPathWide(HMODULE, LPWSTR path, DWORD size) {
  return static_cast<DWORD>(MultiByteToWideChar(CP_ACP, 0, g_programPath.c_str(), -1, path,
                                                static_cast<int>(size))) - 1;
}

// The copy the skin switch starts: it is quick, and goes back to night before the old copy ends.
HINSTANCE WINAPI NewCopyChoosesNight(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR installDir, INT) {
  WriteTextFile(std::string(installDir) + kSettingsFile, SettingsNaming("night"));
  return reinterpret_cast<HINSTANCE>(42);
}

// A thread timer served by the program's own message loop: ends the run once, then ends the loop
// itself, with a code no run has, if the run has not ended by the deadline.
void CALLBACK EndTheRun(HWND, UINT, UINT_PTR, DWORD) {
  HWND accessory = FindWindowA(ACCESSORY_CLASS, NULL);
  void (*end)(HWND) = g_endRun;
  g_endRun = nullptr;
  if (end && accessory) end(accessory);
  if (GetTickCount() - g_runStart > kPatienceMs) PostQuitMessage(99);
}

}  // namespace

TEST(CleanUp, HoweverTheLoopEndsNothingOfTheRunIsLeftBehind) {
  ASSERT_TRUE(GdiCountWorks());
  TempInstall install({"default", "night"}, Solid(16, 12, 0x00336699), "night");
  g_programPath = install.dir + "Perchling.exe";
  ImportPatch module("KERNEL32.dll", "GetModuleFileNameA", reinterpret_cast<void*>(ProgramPath));
  ImportPatch wideModule("KERNEL32.dll", "GetModuleFileNameW",
                         reinterpret_cast<void*>(ProgramPathWide));
  ImportPatch relaunch("SHELL32.dll", "ShellExecuteA",
                       reinterpret_cast<void*>(NewCopyChoosesNight));
  ASSERT_TRUE(module.slot && wideModule.slot && relaunch.slot);
  const int keptPerWindow = GdiObjectsKeptPerShapedWindow();
  const struct {
    const char* how;
    void (*end)(HWND accessory);
  } ends[] = {
      {"warm-up", [](HWND a) { SendMessageA(a, WM_COMMAND, IDM_CLOSE, 0); }},
      {"Close command", [](HWND a) { SendMessageA(a, WM_COMMAND, IDM_CLOSE, 0); }},
      {"close keystroke", [](HWND a) { SendMessageA(a, WM_CLOSE, 0, 0); }},
      {"skin switch to default", [](HWND a) { SendMessageA(a, WM_COMMAND, IDM_FIRST_SKIN, 0); }},
  };
  for (const auto& end : ends) {
    SCOPED_TRACE(end.how);
    ZeroMemory(&g_state, sizeof g_state);  // as at the start of a process
    ObjectCounts before = CountObjects();
    g_endRun = end.end;
    g_runStart = GetTickCount();
    UINT_PTR timer = SetTimer(NULL, 0, 20, EndTheRun);
    EXPECT_EQ(0, RunPerchling(GetModuleHandleA(NULL), SW_SHOWNOACTIVATE));
    KillTimer(NULL, timer);
    EXPECT_EQ(0, DrainQuit()) << "teardown ran twice";
    EXPECT_FALSE(ClassIsRegistered());
    EXPECT_EQ(nullptr, g_state.classPicture);
    EXPECT_EQ(SettingsNaming("night"), install.Settings());
    // Windows, menus, the brush and picture; the first run may leave what the platform keeps
    // from its first use, and every run what it keeps of a destroyed shaped window (Wine 10.0
    // keeps one region of each; Wine 8 none).
    before.gdi += keptPerWindow;
    if (&end != &ends[0]) ExpectSameCounts(before, CountObjects());
  }
}
