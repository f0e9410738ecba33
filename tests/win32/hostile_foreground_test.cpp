// Hostile foreground windows, in-process: none at all, one that closes between the tick's two
// queries, a minimised one, and titles longer than the title buffer. The foreground is injected
// through the import table, so each case happens exactly as described.
#include <gtest/gtest.h>

#include "app/accessory.h"
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
  TargetWindow doomed("Doomed", 200, 300, 400, 150);
  // The second query finds nothing in front any more.
  EXPECT_TRUE(At(Tick(opened.window(), doomed.window, NULL, true), 50, 60));
  EXPECT_FALSE(IsWindow(doomed.window));
  // The second query still answers the closed window's handle: its rectangle cannot be had.
  TargetWindow doomedAgain("Doomed", 200, 300, 400, 150);
  EXPECT_TRUE(At(Tick(opened.window(), doomedAgain.window, doomedAgain.window, true), 50, 60));
  EXPECT_FALSE(IsWindow(doomedAgain.window));
  // A handle that was never a window at all.
  HWND bogus = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x7FFE1234));
  EXPECT_TRUE(At(Tick(opened.window(), bogus, bogus), 50, 60));
}

TEST(HostileForeground, MinimisedWindowIsFollowedWhereverThePlatformPutsIt) {
  Opened opened;
  TargetWindow target("Minimised", 200, 300, 400, 150);
  HWND minimised = target.window;
  ShowWindow(minimised, SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(minimised) != 0; }))
      << "the window was never minimised";
  RECT under = WindowRect(minimised), perch = PerchOn(minimised, 20, 30);
  RECT rect = Tick(opened.window(), minimised, minimised);
  EXPECT_TRUE(EqualRect(&rect, &perch))
      << "at " << rect.left << "," << rect.top << " for a window at " << under.left << ","
      << under.top << "; the size stays the picture's";
  ShowWindow(minimised, SW_RESTORE);
  ASSERT_TRUE(PumpUntil([&] { return !IsIconic(minimised); }))
      << "the window was never restored";
  perch = PerchOn(minimised, 20, 30);
  rect = Tick(opened.window(), minimised, minimised);
  EXPECT_TRUE(EqualRect(&rect, &perch));
}

// Titles of 259 characters (the buffer's whole room) and longer: read cut to the buffer, never
// past it, and not mistaken for the accessory's own title even when they start with it.
TEST(HostileForeground, LongTitlesAreFollowed) {
  Opened opened;
  const std::string titles[] = {std::string(259, 't'), std::string(1000, 'u'),
                                kTitle + std::string(250, ' '),
                                kTitle + std::string(600, 'x')};
  for (const std::string& title : titles) {
    TargetWindow target(title, 200, 300, 400, 150);
    MoveWindow(opened.window(), 50, 60, 20, 30, TRUE);
    RECT perch = PerchOn(target.window, 20, 30);
    RECT rect = Tick(opened.window(), target.window, target.window);
    EXPECT_TRUE(EqualRect(&rect, &perch)) << title.size() << " characters";
  }
}
