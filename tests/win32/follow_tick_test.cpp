// The follow tick once the accessory is perched: a tick that finds it in place leaves it alone
// (no move, no repaint), and a tick after anything moved puts it back and repaints it. The tests
// stop the follow timer and send the ticks themselves, so that each tick is one they can see.
#include <gtest/gtest.h>

#include "app/accessory.h"
#include "test_support.h"

namespace {

// A 40 x 30 skin whose lower band is dithered, so that its shape has many rectangles.
Picture DitheredSkin() {
  return {40, 30, [](int x, int y) -> Rgb {
            if (y >= 20 && (x + y) % 2) return kMagenta;
            int dx = x - 20, dy = y - 12;
            return dx * dx + dy * dy <= 150 || y >= 20 ? 0x00406080 : kMagenta;
          }};
}

// Paint and erase messages the accessory received, counted by a procedure put in front of its own.
int g_paints = 0, g_erases = 0;
WNDPROC g_accessoryProc = nullptr;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++g_paints;
  if (message == WM_ERASEBKGND) ++g_erases;
  return CallWindowProcA(g_accessoryProc, window, message, wParam, lParam);
}

// The accessory opened on a still foreground window, its follow timer stopped and one tick sent,
// so that it is perched; its paints are counted from then on.
struct PerchedAccessory {
  explicit PerchedAccessory(const std::string& installDir)
      : accessory(installDir), target("Target", 300, 400, 500, 200) {
    KillTimer(accessory.window, kFollowTimerId);
    Tick();
    g_accessoryProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        accessory.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
  }
  ~PerchedAccessory() {
    SetWindowLongPtrA(accessory.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_accessoryProc));
  }
  // One tick with the target in front, so that every tick reads the window it expects.
  void Tick() {
    target.BringToFront();
    SendMessageA(accessory.window, WM_TIMER, kFollowTimerId, 0);
  }
  // Where the 40 x 30 accessory belongs on the target.
  RECT Perch() const { return PerchOn(target.window, 40, 30); }
  bool IsPerched() const {
    RECT now = WindowRect(accessory.window), perch = Perch();
    return EqualRect(&now, &perch) != 0;
  }
  bool HasUpdate() const { return GetUpdateRect(accessory.window, NULL, FALSE) != 0; }
  // Runs messages until every pending paint is done; then counts from zero.
  bool Settle() {
    bool settled = PumpUntil([&] { return !HasUpdate(); }, 10000);
    g_paints = g_erases = 0;
    return settled;
  }
  OpenedAccessory accessory;
  TargetWindow target;
};

std::string Describe(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
         std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

}  // namespace

TEST(FollowTickPerched, StillTickNeitherMovesNorRepaints) {
  TempInstall install;
  WriteBmp(install.Skin("default"), DitheredSkin());
  PerchedAccessory perched(install.dir);
  ASSERT_TRUE(perched.IsPerched()) << "at " << Describe(WindowRect(perched.accessory.window));
  ASSERT_TRUE(perched.Settle()) << "the first paint did not finish";

  for (int i = 0; i < 3; ++i) perched.Tick();
  ASSERT_EQ(perched.target.window, GetForegroundWindow()) << "the target must stay in front";
  EXPECT_TRUE(perched.IsPerched());
  EXPECT_FALSE(perched.HasUpdate()) << "a tick that finds the accessory in place must not repaint";
  EXPECT_EQ(0, g_erases);
  perched.Settle();  // would run a paint that the ticks had asked for
  EXPECT_EQ(0, g_paints);
}

TEST(FollowTickPerched, TickAfterTheForegroundWindowMovedFollowsAndRepaints) {
  TempInstall install;
  WriteBmp(install.Skin("default"), DitheredSkin());
  PerchedAccessory perched(install.dir);
  ASSERT_TRUE(perched.Settle()) << "the first paint did not finish";

  MoveWindow(perched.target.window, 120, 250, 400, 180, TRUE);
  perched.Tick();
  EXPECT_TRUE(perched.IsPerched())
      << "at " << Describe(WindowRect(perched.accessory.window)) << ", not on the moved window";
  EXPECT_TRUE(PumpUntil([] { return g_paints > 0 && g_erases > 0; }, 10000))
      << "the moved accessory was not repainted with its skin: " << g_paints << " paints, "
      << g_erases << " erases";
}

// Something other than the tick moves the accessory or changes its size; the next tick puts it
// back on its perch with the skin's size, and repaints it.
TEST(FollowTickPerched, TickPutsBackWhatSomethingElseMoved) {
  struct Disturbance {
    const char* what;
    int dx, dy, dwidth, dheight;
  };
  const Disturbance disturbances[] = {
      {"moved away", -200, -150, 0, 0},
      {"moved by one pixel", 1, 0, 0, 0},
      {"made larger in place", 0, 0, 7, 5},
  };
  TempInstall install;
  WriteBmp(install.Skin("default"), DitheredSkin());
  PerchedAccessory perched(install.dir);
  for (const Disturbance& d : disturbances) {
    RECT perch = perched.Perch();
    MoveWindow(perched.accessory.window, perch.left + d.dx, perch.top + d.dy, 40 + d.dwidth,
               30 + d.dheight, TRUE);
    ASSERT_FALSE(perched.IsPerched()) << d.what;
    ASSERT_TRUE(perched.Settle()) << d.what << ": the disturbance's paint did not finish";

    perched.Tick();
    EXPECT_TRUE(perched.IsPerched())
        << d.what << ": at " << Describe(WindowRect(perched.accessory.window));
    EXPECT_TRUE(PumpUntil([] { return g_paints > 0 && g_erases > 0; }, 10000))
        << d.what << ": not repainted";
  }
}
