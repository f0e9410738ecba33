// Long runs in-process: thousands of follow ticks, a thousand rescans and a hundred failed skin
// switches must leave the number of live GDI objects, menus, kernel handles and windows where they
// began. Each run starts counting after one warm-up round, since the platform keeps some objects
// it makes on first use (a DC's defaults, a message box's fonts).
#include <gtest/gtest.h>

#include "app/program.h"
#include "gdi_count.h"
#include "test_support.h"

namespace {

const char kSkinMissing[] =
    "指定されたスキンは存在しません。\nスキン情報を更新しておきますので\n再度、指定し直して下さい"
    "。";

Picture Pebble() {
  return {32, 20, [](int x, int y) -> Rgb {
            int dx = x - 16, dy = y - 10;
            return dx * dx + dy * dy * 4 <= 256 ? ((x + y) % 3 ? 0x00705030 : 0x00101010)
                                                : kMagenta;
          }};
}

void ExpectSameCounts(const ObjectCounts& before, const ObjectCounts& after) {
  EXPECT_EQ(before.gdi, after.gdi) << "GDI objects";
  EXPECT_EQ(before.menus, after.menus) << "menus";
  EXPECT_EQ(before.handles, after.handles) << "kernel handles";
  EXPECT_EQ(before.windows, after.windows) << "windows";
}

}  // namespace

TEST(LongRun, CountersWork) { ASSERT_TRUE(GdiCountWorks()); }

TEST(LongRun, TenThousandFollowTicksLeakNothing) {
  TempInstall install;
  WriteBmp24(install.Skin("default"), Pebble());
  OpenedAccessory accessory(install.dir);
  HWND target = CreateWindowExA(0, "STATIC", "Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 400,
                                500, 200, NULL, NULL, NULL, NULL);
  SetForegroundWindow(target);
  for (int i = 0; i < 10; ++i) SendMessageA(accessory.window, WM_TIMER, 100, 0);
  PumpMessages(100);

  ObjectCounts before = CountObjects();
  for (int i = 0; i < 10000; ++i) {
    SendMessageA(accessory.window, WM_TIMER, 100, 0);
    if (i % 50 == 0) PumpMessages(0);  // the repaints each tick asks for
  }
  PumpMessages(100);
  ExpectSameCounts(before, CountObjects());

  RECT perch = WindowRect(accessory.window), under = WindowRect(GetForegroundWindow());
  EXPECT_EQ(under.right - 32 - 60, perch.left);
  EXPECT_EQ(under.top - 20 + 22, perch.top);
  DestroyWindow(target);
}

// Every rescan replaces the popup and its submenu; the old ones, and the menu bar the popup was
// loaded in, must be gone.
TEST(LongRun, ThousandRescansLeakNoMenu) {
  TempInstall install;
  WriteBmp24(install.Skin("default"), Pebble());
  WriteBmp24(install.Skin("night"), Pebble());
  OpenedAccessory accessory(install.dir);
  SendMessageA(accessory.window, WM_COMMAND, 40003, 0);

  ObjectCounts before = CountObjects();
  for (int i = 0; i < 1000; ++i) {
    HMENU oldPopup = g_state.popupMenu, oldSkins = g_state.skinMenu;
    SendMessageA(accessory.window, WM_COMMAND, 40003, 0);
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
  WriteBmp24(install.Skin("default"), Pebble());
  std::string settings = install.dir + "setting.ini";
  WriteTextFile(settings, "[MAIN]\r\nSKIN=default\r\n");
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  auto failSwitch = [&] {
    WriteBmp24(install.Skin("gone"), Pebble());
    SendMessageA(accessory.window, WM_COMMAND, 40003, 0);  // default, gone
    DeleteFileA(install.Skin("gone").c_str());
    SendMessageA(accessory.window, WM_COMMAND, 102, 0);
  };
  failSwitch();
  PumpMessages(50);

  ObjectCounts before = CountObjects();
  for (int i = 0; i < 100; ++i) failSwitch();
  PumpMessages(50);
  ExpectSameCounts(before, CountObjects());

  ASSERT_EQ(101u, answerer.texts.size());
  for (const std::string& text : answerer.texts) EXPECT_EQ(kSkinMissing, text);
  EXPECT_STREQ("default", g_state.currentSkin);
  EXPECT_EQ(1, g_state.skinCount) << "the rescan after the message drops the vanished picture";
  EXPECT_EQ(0, DrainQuit());
  EXPECT_TRUE(IsWindow(accessory.window));
  EXPECT_EQ("[MAIN]\r\nSKIN=default\r\n", ReadTextFile(settings));
}
