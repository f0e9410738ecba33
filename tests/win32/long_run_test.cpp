// Long runs in-process: thousands of follow ticks, a thousand shape builds, a thousand rescans and
// a hundred failed skin switches must leave the number of live GDI objects, menus, kernel handles
// and windows where they began. Each run starts counting after one warm-up round, since the platform keeps some objects
// it makes on first use (a DC's defaults, a message box's fonts).
#include <gtest/gtest.h>

#include <vector>

#include "app/accessory.h"
#include "object_counts.h"
#include "res/resource.h"
#include "shape/region.h"
#include "test_support.h"

namespace {

Picture Pebble() {
  return {32, 20, [](int x, int y) -> Rgb {
            int dx = x - 16, dy = y - 10;
            return dx * dx + dy * dy * 4 <= 256 ? ((x + y) % 3 ? 0x00705030 : 0x00101010)
                                                : kMagenta;
          }};
}

}  // namespace

TEST(LongRun, CountersWork) { ASSERT_TRUE(GdiCountWorks()); }

TEST(LongRun, TenThousandFollowTicksLeakNothing) {
  TempInstall install({"default"}, Pebble());
  OpenedAccessory accessory(install.dir);
  TargetWindow target("Target", 300, 400, 500, 200);
  for (int i = 0; i < 10; ++i) SendMessageA(accessory.window, WM_TIMER, kFollowTimerId, 0);
  ASSERT_TRUE(PumpUntilIdle()) << "the first ticks' paints never ended";

  ObjectCounts before = CountObjects();
  for (int i = 0; i < 10000; ++i) {
    SendMessageA(accessory.window, WM_TIMER, kFollowTimerId, 0);
    if (i % 50 == 0) PumpMessages(0);  // whatever the ticks leave in the queue
  }
  ASSERT_TRUE(PumpUntilIdle()) << "the ticks' messages never ended";
  ExpectSameCounts(before, CountObjects());

  RECT now = WindowRect(accessory.window), perch = PerchOn(GetForegroundWindow(), 32, 20);
  EXPECT_TRUE(EqualRect(&now, &perch));
}

// A thousand shape builds over every kind of picture: each depth, a device-dependent bitmap, runs
// that fill many pieces, no runs at all and one whole rectangle. A builder that lost one of its
// intermediate regions would leave hundreds behind.
TEST(LongRun, ThousandShapeBuildsOfEveryKindOfPictureLeakNothing) {
  const Picture pictures[] = {Speckled(45, 31, 2), Speckled(37, 23, 16), Speckled(61, 29, 200),
                              Pebble(),            Pebble(),             Pebble(),
                              Pebble(),            Checkerboard(64, 48), Solid(17, 5, kMagenta),
                              Solid(31, 9, 0x00E0A040)};
  const int depths[] = {1, 4, 8, 16, 24, 32, 0, 24, 24, 24};  // 0: device-dependent
  std::vector<HBITMAP> bitmaps;
  for (size_t i = 0; i < sizeof depths / sizeof depths[0]; ++i) {
    bitmaps.push_back(depths[i] ? MakeDib(pictures[i], {depths[i], false, false, 0})
                                : MakeDdb(pictures[i]));
    ASSERT_NE(nullptr, bitmaps.back()) << "picture " << i;
  }
  for (HBITMAP bitmap : bitmaps) DeleteObject(CreateRegionFromBitmap(bitmap, kMagenta));

  ObjectCounts before = CountObjects();
  for (int i = 0; i < 1000; ++i) {
    HRGN shape = CreateRegionFromBitmap(bitmaps[i % bitmaps.size()], kMagenta);
    ASSERT_NE(nullptr, shape) << "build " << i;
    DeleteObject(shape);
  }
  ExpectSameCounts(before, CountObjects());
  for (HBITMAP bitmap : bitmaps) DeleteObject(bitmap);
}

// Every rescan replaces the popup and its submenu; the old ones, and the menu bar the popup was
// loaded in, must be gone.
TEST(LongRun, ThousandRescansLeakNoMenu) {
  TempInstall install;
  WriteBmp(install.Skin("default"), Pebble());
  WriteBmp(install.Skin("night"), Pebble());
  OpenedAccessory accessory(install.dir);
  SendMessageA(accessory.window, WM_COMMAND, IDM_RESCAN, 0);

  ObjectCounts before = CountObjects();
  for (int i = 0; i < 1000; ++i) {
    HMENU oldPopup = g_state.popupMenu, oldSkins = g_state.skinMenu;
    SendMessageA(accessory.window, WM_COMMAND, IDM_RESCAN, 0);
    if (IsMenu(oldPopup) || IsMenu(oldSkins)) {
      ADD_FAILURE() << "rescan " << i << " left its old menus alive";
      break;
    }
  }
  ExpectSameCounts(before, CountObjects());
  EXPECT_TRUE(IsMenu(g_state.popupMenu));
  EXPECT_EQ(g_state.skinMenu, GetSubMenu(g_state.popupMenu, 0));
  EXPECT_EQ(2, GetMenuItemCount(g_state.skinMenu));
}

// A picture deleted after the scan: each choice of it shows the message, rescans, and changes
// nothing else; a hundred of them leak nothing.
TEST(LongRun, HundredFailedSwitchesLeakNothingAndChangeNothing) {
  TempInstall install;
  WriteBmp(install.Skin("default"), Pebble());
  std::string settings = install.dir + kSettingsFile;
  WriteTextFile(settings, SettingsNaming("default"));
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  auto failSwitch = [&] {
    WriteBmp(install.Skin("gone"), Pebble());
    SendMessageA(accessory.window, WM_COMMAND, IDM_RESCAN, 0);  // default, gone
    DeleteFileA(install.Skin("gone").c_str());
    SendMessageA(accessory.window, WM_COMMAND, IDM_FIRST_SKIN + 1, 0);  // gone
  };
  failSwitch();
  ASSERT_TRUE(PumpUntilIdle()) << "the first failed switch left messages waiting";

  ObjectCounts before = CountObjects();
  for (int i = 0; i < 100; ++i) failSwitch();
  ASSERT_TRUE(PumpUntilIdle()) << "the failed switches left messages waiting";
  ExpectSameCounts(before, CountObjects());

  ASSERT_EQ(101u, answerer.texts.size());
  for (const std::wstring& text : answerer.texts) EXPECT_EQ(kSkinMissing, text);
  EXPECT_STREQ("default", g_state.currentSkin);
  EXPECT_EQ(1, g_state.skinCount) << "the rescan after the message drops the vanished picture";
  EXPECT_EQ(0, DrainQuit());
  EXPECT_TRUE(IsWindow(accessory.window));
  EXPECT_EQ(SettingsNaming("default"), ReadTextFile(settings));
}
