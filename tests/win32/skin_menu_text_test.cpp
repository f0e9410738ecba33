// A skin whose name holds '&' is shown in the menu as written ("Tom&Jerry", not "TomJerry" with
// the J underlined), while the catalogue, the check mark and setting.ini keep the real name.
#include <gtest/gtest.h>

#include "app/accessory.h"
#include "res/resource.h"
#include "test_support.h"

TEST(SkinMenuText, AmpersandsShowAsWrittenAndTheRealNameIsKept) {
  TempInstall install;
  const Picture picture = {8, 6, [](int, int) { return 0x00336699u; }};
  WriteBmp(install.Skin("default"), picture);
  WriteBmp(install.Skin("Tom&Jerry"), picture);
  WriteTextFile(install.dir + kSettingsFile, SettingsNaming("Tom&Jerry"));
  OpenedAccessory accessory(install.dir);

  ASSERT_EQ(2, g_state.skinCount);
  EXPECT_STREQ("Tom&Jerry", g_state.skinNames[1]);
  char text[64] = "";
  GetMenuStringA(g_state.skinMenu, IDM_FIRST_SKIN + 1, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ("Tom&&Jerry", text);
  EXPECT_TRUE(GetMenuState(g_state.skinMenu, IDM_FIRST_SKIN + 1, MF_BYCOMMAND) & MF_CHECKED)
      << "the check mark compares the real name";

  // Chosen, the real name is saved (the relaunch fails here: there is no Perchling.exe).
  WriteTextFile(install.dir + kSettingsFile, SettingsNaming("default"));
  g_state.settingTooLong = 0;
  lstrcpynA(g_state.currentSkin, "default", kPathSize);
  MessageBoxAnswerer answerer;
  RouteCommand(accessory.window, IDM_FIRST_SKIN + 1);
  EXPECT_EQ(SettingsNaming("Tom&Jerry"), ReadTextFile(install.dir + kSettingsFile));
  EXPECT_STREQ("Tom&Jerry", g_state.currentSkin);
  EXPECT_EQ(1, DrainQuit());
}
