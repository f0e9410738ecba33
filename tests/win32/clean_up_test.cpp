// Whole runs of the program in-process, from start-up through the message loop to clean-up.
// However the loop ends, clean-up leaves no class, brush, picture, window or menu behind, and
// teardown writes setting.ini once at most: never over what a new copy wrote after a skin switch.
#include <gtest/gtest.h>

#include "app/accessory.h"
#include "app/startup.h"
#include "base/program.h"
#include "import_patch.h"
#include "object_counts.h"
#include "res/resource.h"
#include "test_support.h"

namespace {

const int kGaveUp = 99;  // the quit code of a run that did not end as it was told to

std::string g_programPath;         // where the program believes it runs from
void (*g_endRun)(HWND) = nullptr;  // how the running accessory is to end; cleared once done
DWORD g_runStart;

DWORD WINAPI ProgramPath(HMODULE, LPSTR path, DWORD size) {
  lstrcpynA(path, g_programPath.c_str(), static_cast<int>(size));
  return static_cast<DWORD>(lstrlenA(path));
}

// The copy the skin switch starts: it is quick, and goes back to night before the old copy ends.
HINSTANCE WINAPI NewCopyChoosesNight(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR installDir, INT) {
  WriteTextFile(std::string(installDir) + "setting.ini", SettingsNaming("night"));
  return reinterpret_cast<HINSTANCE>(42);
}

// A thread timer served by the program's own message loop: ends the run once, then waits for the
// loop to end, and ends it itself if it does not within the deadline.
void CALLBACK EndTheRun(HWND, UINT, UINT_PTR, DWORD) {
  HWND accessory = FindWindowA(ACCESSORY_CLASS, NULL);
  if (g_endRun && accessory) {
    void (*end)(HWND) = g_endRun;
    g_endRun = nullptr;
    end(accessory);
  } else if (GetTickCount() - g_runStart > kPatienceMs) {
    PostQuitMessage(kGaveUp);
  }
}

bool ClassIsRegistered() {
  WNDCLASSEXA info = {};
  info.cbSize = sizeof info;
  return GetClassInfoExA(GetModuleHandleA(NULL), ACCESSORY_CLASS, &info) != 0;
}

}  // namespace

TEST(CleanUp, HoweverTheLoopEndsNothingOfTheRunIsLeftBehind) {
  ASSERT_TRUE(GdiCountWorks());
  TempInstall install({"default", "night"}, Solid(16, 12, 0x00336699), "night");
  g_programPath = install.dir + "Perchling.exe";
  ImportPatch module("KERNEL32.dll", "GetModuleFileNameA", reinterpret_cast<void*>(ProgramPath));
  ImportPatch relaunch("SHELL32.dll", "ShellExecuteA",
                       reinterpret_cast<void*>(NewCopyChoosesNight));
  ASSERT_NE(nullptr, module.slot);
  ASSERT_NE(nullptr, relaunch.slot);
  const struct {
    const char* how;
    void (*end)(HWND accessory);
    const char* settingsAfter;  // what setting.ini names at the end; nullptr: not counted
  } ends[] = {
      {"warm-up", [](HWND a) { SendMessageA(a, WM_COMMAND, IDM_CLOSE, 0); }, nullptr},
      {"Close command", [](HWND a) { SendMessageA(a, WM_COMMAND, IDM_CLOSE, 0); }, "night"},
      {"close keystroke", [](HWND a) { SendMessageA(a, WM_CLOSE, 0, 0); }, "night"},
      {"skin switch", [](HWND a) { SendMessageA(a, WM_COMMAND, IDM_FIRST_SKIN, 0); }, "night"},
  };
  for (const auto& end : ends) {
    SCOPED_TRACE(end.how);
    ZeroMemory(&g_state, sizeof g_state);  // as at the start of a process
    WriteTextFile(install.dir + "setting.ini", SettingsNaming("night"));
    // The first run may leave what the platform keeps from first use; the others are counted.
    ObjectCounts before = CountObjects();
    g_endRun = end.end;
    g_runStart = GetTickCount();
    UINT_PTR timer = SetTimer(NULL, 0, 20, EndTheRun);
    int exitCode = RunPerchling(GetModuleHandleA(NULL), SW_SHOWNOACTIVATE);
    KillTimer(NULL, timer);

    EXPECT_EQ(0, exitCode);
    EXPECT_EQ(0, DrainQuit()) << "teardown ran twice";
    EXPECT_FALSE(ClassIsRegistered());
    EXPECT_EQ(nullptr, FindWindowA(ACCESSORY_CLASS, NULL));
    EXPECT_EQ(nullptr, g_state.classPicture);
    EXPECT_EQ(nullptr, g_state.popupMenu);
    if (!end.settingsAfter) continue;
    ExpectSameCounts(before, CountObjects());
    EXPECT_EQ(SettingsNaming(end.settingsAfter), install.Settings());
  }
}
