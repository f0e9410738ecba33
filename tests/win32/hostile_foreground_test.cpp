// Hostile foreground windows, in-process: none at all, one that closes between the tick's two
// queries, a minimised one, and titles longer than the title buffer. The foreground is injected
// through the import table, so each case happens exactly as described.
#include <gtest/gtest.h>

#include "app/accessory.h"
#include "base/program.h"
#include "import_patch.h"
#include "test_support.h"

namespace {

// What the injected GetForegroundWindow answers: first for the tick's first query, then for
// every later one. closeBeforeSecond destroys the first answer before the second query.
struct ForegroundScript {
  HWND first;
  HWND later;
  bool closeBeforeSecond;
  int calls;
};
ForegroundScript g_script;

HWND WINAPI ScriptedForeground() {
  if (g_script.calls++ == 0) return g_script.first;
  if (g_script.closeBeforeSecond && IsWindow(g_script.first)) DestroyWindow(g_script.first);
  return g_script.later;
}

// One tick with the given script; returns the accessory's rectangle after it.
RECT Tick(HWND accessory, HWND first, HWND later, bool closeBeforeSecond = false) {
  g_script = {first, later, closeBeforeSecond, 0};
  ImportPatch patch("USER32.dll", "GetForegroundWindow",
                    reinterpret_cast<void*>(ScriptedForeground));
  EXPECT_NE(nullptr, patch.slot);
  SendMessageA(accessory, WM_TIMER, kFollowTimerId, 0);
  return WindowRect(accessory);
}

HWND Window(const std::string& title) {
  return CreateWindowExA(0, "STATIC", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 300,
                         400, 150, NULL, NULL, NULL, NULL);
}

Picture Dot() {
  return {20, 30, [](int x, int) -> Rgb { return x % 5 ? 0x00336699 : kMagenta; }};
}

// The accessory with the dot, moved to 50, 60.
struct Opened {
  TempInstall install{{"default"}, Dot()};
  OpenedAccessory accessory{install.dir};
  Opened() { MoveWindow(accessory.window, 50, 60, 20, 30, TRUE); }
  HWND window() const { return accessory.window; }
};

bool At(const RECT& rect, int x, int y) { return rect.left == x && rect.top == y; }

}  // namespace

TEST(HostileForeground, NoForegroundWindowLeavesTheAccessoryWhereItIs) {
  Opened opened;
  RECT rect = Tick(opened.window(), NULL, NULL);
  EXPECT_TRUE(At(rect, 50, 60));
}

TEST(HostileForeground, WindowClosingBetweenTheTwoQueriesLeavesItWhereItIs) {
  Opened opened;
  HWND doomed = Window("Doomed");
  // The second query finds nothing in front any more.
  EXPECT_TRUE(At(Tick(opened.window(), doomed, NULL, true), 50, 60));
  EXPECT_FALSE(IsWindow(doomed));
  // The second query still answers the closed window's handle: its rectangle cannot be had.
  doomed = Window("Doomed");
  EXPECT_TRUE(At(Tick(opened.window(), doomed, doomed, true), 50, 60));
  EXPECT_FALSE(IsWindow(doomed));
  // A handle that was never a window at all.
  HWND bogus = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x7FFE1234));
  EXPECT_TRUE(At(Tick(opened.window(), bogus, bogus), 50, 60));
}

TEST(HostileForeground, MinimisedWindowIsFollowedWhereverThePlatformPutsIt) {
  Opened opened;
  HWND minimised = Window("Minimised");
  ShowWindow(minimised, SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(minimised) != 0; }))
      << "the window was never minimised";
  RECT under = WindowRect(minimised);
  RECT rect = Tick(opened.window(), minimised, minimised);
  EXPECT_TRUE(At(rect, under.right - 20 - 60, under.top - 30 + 22))
      << "at " << rect.left << "," << rect.top << " for a window at " << under.left << ","
      << under.top;
  EXPECT_EQ(20, rect.right - rect.left) << "the size stays the picture's";
  ShowWindow(minimised, SW_RESTORE);
  ASSERT_TRUE(PumpUntil([&] { return !IsIconic(minimised); }))
      << "the window was never restored";
  under = WindowRect(minimised);
  EXPECT_TRUE(At(Tick(opened.window(), minimised, minimised), under.right - 80, under.top - 8));
  DestroyWindow(minimised);
}

// Titles of 259 characters (the buffer's whole room) and longer: read cut to the buffer, never
// past it, and not mistaken for the accessory's own title even when they start with it.
TEST(HostileForeground, LongTitlesAreFollowed) {
  Opened opened;
  const std::string titles[] = {std::string(259, 't'), std::string(1000, 'u'),
                                "Perchling" + std::string(250, ' '),
                                "Perchling" + std::string(600, 'x')};
  for (const std::string& title : titles) {
    HWND window = Window(title);
    MoveWindow(opened.window(), 50, 60, 20, 30, TRUE);
    RECT under = WindowRect(window);
    RECT rect = Tick(opened.window(), window, window);
    EXPECT_TRUE(At(rect, under.right - 80, under.top - 8)) << title.size() << " characters";
    EXPECT_EQ(259u, strlen(g_state.foregroundTitle));
    DestroyWindow(window);
  }
}
