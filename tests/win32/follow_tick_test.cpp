// The follow tick once the accessory is perched: a tick that finds it in place leaves it alone
// (no move, no repaint), even where the perch lies beyond the coordinates a window can take; a
// tick after anything moved puts it back, and the picture shows whole at the new place without
// the window being erased all over. The tests stop the follow timer and send the ticks
// themselves, so that each tick is one they can see; they read the picture back from the screen.
#include <gtest/gtest.h>

#include <vector>

#include "app/accessory.h"
#include "test_support.h"

namespace {

// A 40 x 30 skin whose lower band is dithered, so that its shape has many rectangles. No two
// pixels have the same colour, so a picture shown shifted or half left behind does not match.
Picture DitheredSkin() {
  return {40, 30, [](int x, int y) -> Rgb {
            if (y >= 20 && (x + y) % 2) return kMagenta;
            int dx = x - 20, dy = y - 12;
            Rgb own = 0x00400000 | static_cast<Rgb>(x * 5) << 8 | static_cast<Rgb>(y * 7);
            return dx * dx + dy * dy <= 150 || y >= 20 ? own : kMagenta;
          }};
}

// What the accessory received, counted by a procedure put in front of its own: paints, erases,
// erases of its whole area (the erase's clip box is the whole window), and attempts to move or
// size it.
int g_paints = 0, g_erases = 0, g_wholeErases = 0, g_positionChanges = 0;
WNDPROC g_accessoryProc = nullptr;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++g_paints;
  if (message == WM_WINDOWPOSCHANGING) ++g_positionChanges;
  if (message == WM_ERASEBKGND) {
    ++g_erases;
    RECT erased, whole;
    GetClientRect(window, &whole);
    if (GetClipBox(reinterpret_cast<HDC>(wParam), &erased) != ERROR && EqualRect(&erased, &whole))
      ++g_wholeErases;
  }
  return CallWindowProcA(g_accessoryProc, window, message, wParam, lParam);
}

// Pixels of the picture's shape that the screen does not show at the window's place; pixels that
// fall off the screen, or that this Wine's X shape misplaces whatever the program does, are not
// counted.
int WrongPixelsOnScreen(HWND window, const Picture& picture) {
  RECT at = WindowRect(window);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC screen = GetDC(NULL);
  HDC copy = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP shot = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
  HGDIOBJ old = SelectObject(copy, shot);
  BitBlt(copy, 0, 0, picture.width, picture.height, screen, at.left, at.top, SRCCOPY);
  GdiFlush();
  int wrong = 0;
  int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const DWORD* pixels = static_cast<const DWORD*>(bits);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      Rgb expected = picture.colour(x, y);
      if (expected == kMagenta) continue;
      int sx = at.left + x, sy = at.top + y;
      if (sx < 0 || sy < 0 || sx >= screenWidth || sy >= screenHeight) continue;
      if (MisshapenOnScreen(picture, x, y)) continue;
      if ((pixels[y * picture.width + x] & 0x00FFFFFF) != expected) ++wrong;
    }
  }
  SelectObject(copy, old);
  DeleteObject(shot);
  DeleteDC(copy);
  ReleaseDC(NULL, screen);
  return wrong;
}

// The accessory opened with the given skin on a still foreground window, its follow timer stopped
// and one tick sent, so that it is perched; what it receives is counted from then on.
struct PerchedAccessory {
  PerchedAccessory(const std::string& installDir, const Picture& skin,
                   RECT targetAt = {300, 400, 800, 600})
      : accessory(installDir),
        picture(skin),
        target("Target", targetAt.left, targetAt.top, targetAt.right - targetAt.left,
               targetAt.bottom - targetAt.top) {
    KillTimer(accessory.window, kFollowTimerId);
    Tick();
    // Without a window manager, Wine raises the target on the X screen when it comes to the front,
    // over the topmost accessory; leaving the topmost band and joining it again raises the
    // accessory there too, so that the screen shows what the accessory shows.
    const UINT zOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(accessory.window, HWND_NOTOPMOST, 0, 0, 0, 0, zOrderOnly);
    SetWindowPos(accessory.window, HWND_TOPMOST, 0, 0, 0, 0, zOrderOnly);
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
  // Where the accessory belongs on the target.
  RECT Perch() const { return PerchOn(target.window, picture.width, picture.height); }
  bool IsPerched() const {
    RECT now = WindowRect(accessory.window), perch = Perch();
    return EqualRect(&now, &perch) != 0;
  }
  bool HasUpdate() const { return GetUpdateRect(accessory.window, NULL, FALSE) != 0; }
  // Runs messages until every pending paint is done; then counts from zero.
  bool Settle() {
    bool settled = PumpUntil([&] { return !HasUpdate(); }, 10000);
    g_paints = g_erases = g_wholeErases = g_positionChanges = 0;
    return settled;
  }
  // Runs messages until the screen shows the whole picture at the accessory's place, or the time
  // is up; returns the pixels still wrong.
  int WaitForPicture() {
    int wrong = 0;
    PumpUntil([&] { return (wrong = WrongPixelsOnScreen(accessory.window, picture)) == 0; }, 10000);
    return wrong;
  }
  OpenedAccessory accessory;
  Picture picture;
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
  PerchedAccessory perched(install.dir, DitheredSkin());
  ASSERT_TRUE(perched.IsPerched()) << "at " << Describe(WindowRect(perched.accessory.window));
  ASSERT_TRUE(perched.Settle()) << "the first paint did not finish";

  for (int i = 0; i < 3; ++i) perched.Tick();
  ASSERT_EQ(perched.target.window, GetForegroundWindow()) << "the target must stay in front";
  EXPECT_TRUE(perched.IsPerched());
  EXPECT_EQ(0, g_positionChanges) << "a tick that finds the accessory in place must not move it";
  EXPECT_FALSE(perched.HasUpdate()) << "a tick that finds the accessory in place must not repaint";
  EXPECT_EQ(0, g_erases);
  perched.Settle();  // would run a paint that the ticks had asked for
  EXPECT_EQ(0, g_paints);
}

// A hop keeps the window's contents: the platform moves them and repaints only what the move
// uncovers. Erasing the whole window first would repaint every rectangle of the shape, which
// under Wine costs the square of their number.
TEST(FollowTickPerched, TickAfterTheForegroundWindowMovedShowsThePictureThereWithoutErasingItAll) {
  TempInstall install;
  WriteBmp(install.Skin("default"), DitheredSkin());
  PerchedAccessory perched(install.dir, DitheredSkin());
  ASSERT_EQ(0, perched.WaitForPicture()) << "the first paint did not show the picture";
  ASSERT_TRUE(perched.Settle()) << "the first paint did not finish";

  MoveWindow(perched.target.window, 120, 250, 400, 180, TRUE);
  perched.Tick();
  EXPECT_TRUE(perched.IsPerched())
      << "at " << Describe(WindowRect(perched.accessory.window)) << ", not on the moved window";
  EXPECT_EQ(0, perched.WaitForPicture()) << "pixels of the picture wrong at the new place";
  EXPECT_TRUE(PumpUntil([&] { return !perched.HasUpdate(); }, 10000)) << "the hop's paint";
  EXPECT_EQ(0, g_wholeErases) << "the hop erased the whole window (" << g_erases << " erases)";
}

// A window partly off the screen has no picture there to keep; moved back on, it shows it whole.
TEST(FollowTickPerched, TickBringingAnAccessoryBackOnScreenShowsItsWholePicture) {
  TempInstall install;
  WriteBmp(install.Skin("default"), DitheredSkin());
  // The perch: 25 of the picture's 40 columns left of the screen, its top 8 rows above it.
  PerchedAccessory perched(install.dir, DitheredSkin(), {-100, -14, 75, 200});
  ASSERT_TRUE(perched.IsPerched()) << "at " << Describe(WindowRect(perched.accessory.window));
  ASSERT_TRUE(perched.Settle()) << "the first paint did not finish";

  MoveWindow(perched.target.window, 200, 300, 400, 180, TRUE);
  perched.Tick();
  EXPECT_TRUE(perched.IsPerched()) << "at " << Describe(WindowRect(perched.accessory.window));
  EXPECT_EQ(0, perched.WaitForPicture()) << "pixels of the picture wrong once back on the screen";
}

// Something other than the tick moves the accessory or changes its size; the next tick puts it
// back on its perch with the skin's size, its whole picture showing. Each of the four things the
// tick compares (left, top, width, height) is the only one changed by one disturbance at least.
TEST(FollowTickPerched, TickPutsBackWhatSomethingElseMoved) {
  struct Disturbance {
    const char* what;
    int dx, dy, dwidth, dheight;
  };
  const Disturbance disturbances[] = {
      {"moved away", -200, -150, 0, 0},
      {"moved by one pixel", 1, 0, 0, 0},
      {"moved down by one pixel", 0, 1, 0, 0},
      {"made larger in place", 0, 0, 7, 5},
      {"made narrower in place", 0, 0, -4, 0},
      {"made taller in place", 0, 0, 0, 5},
  };
  TempInstall install;
  WriteBmp(install.Skin("default"), DitheredSkin());
  PerchedAccessory perched(install.dir, DitheredSkin());
  for (const Disturbance& d : disturbances) {
    RECT perch = perched.Perch();
    MoveWindow(perched.accessory.window, perch.left + d.dx, perch.top + d.dy, 40 + d.dwidth,
               30 + d.dheight, TRUE);
    ASSERT_FALSE(perched.IsPerched()) << d.what;
    ASSERT_TRUE(perched.Settle()) << d.what << ": the disturbance's paint did not finish";

    perched.Tick();
    EXPECT_TRUE(perched.IsPerched())
        << d.what << ": at " << Describe(WindowRect(perched.accessory.window));
    EXPECT_EQ(0, perched.WaitForPicture()) << d.what << ": pixels of the picture wrong";
  }
}

// The platform keeps a window's position within 16 bits. On a window parked where minimised ones
// go, a skin this tall perches above the highest place a window can take; the accessory stays at
// the top of the range, and the ticks after the first find it there.
TEST(FollowTickPerched, StillTickOnAWindowParkedAboveTheCoordinateRange) {
  const Picture tall = Solid(30, 800, 0x00406080);
  TempInstall install;
  WriteBmp(install.Skin("default"), tall);
  PerchedAccessory perched(install.dir, tall, {300, -32000, 800, -31800});
  RECT perch = perched.Perch();
  ASSERT_LT(perch.top, -32768) << "the perch must lie above the range";
  RECT now = WindowRect(perched.accessory.window);
  EXPECT_EQ(perch.left, now.left);
  EXPECT_EQ(-32768, now.top) << "at " << Describe(now);
  EXPECT_EQ(800, now.bottom - now.top);
  ASSERT_TRUE(perched.Settle()) << "the first paint did not finish";

  for (int i = 0; i < 3; ++i) perched.Tick();
  ASSERT_EQ(perched.target.window, GetForegroundWindow()) << "the target must stay in front";
  EXPECT_EQ(0, g_positionChanges) << "ticks after the first moved the accessory again";
  EXPECT_FALSE(perched.HasUpdate()) << "ticks after the first repainted the accessory";
}

// Nor does the platform keep a window wider than 32767: a picture beyond that is perched all the
// same, and the ticks after the first find it there, or it would be repainted on every tick.
TEST(FollowTickPerched, StillTickWithAPictureWiderThanAWindowCanBe) {
  const Picture wide = Solid(40000, 30, 0x00406080);
  TempInstall install;
  WriteBmp(install.Skin("default"), wide);
  PerchedAccessory perched(install.dir, wide);
  ASSERT_TRUE(perched.Settle()) << "the first paint did not finish";

  for (int i = 0; i < 3; ++i) perched.Tick();
  ASSERT_EQ(perched.target.window, GetForegroundWindow()) << "the target must stay in front";
  EXPECT_EQ(0, g_positionChanges) << "at " << Describe(WindowRect(perched.accessory.window));
  EXPECT_FALSE(perched.HasUpdate()) << "ticks after the first repainted the accessory";
  EXPECT_EQ(0, g_wholeErases);
}
