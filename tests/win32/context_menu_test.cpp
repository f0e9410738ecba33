// The context menu and the commands: the menu as built at start-up, the catalogue behind the
// "スキン" submenu, the routing of commands, the rescan and the skin switch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/accessory.h"
#include "res/resource.h"
#include "skins/context_menu.h"
#include "test_support.h"

namespace {

Picture Small(Rgb colour) {
  return {8, 6, [colour](int x, int) { return x == 0 ? kMagenta : colour; }};
}

struct Item {
  UINT id;
  UINT type;
  UINT state;
  std::string text;
  HMENU submenu;
};

Item ReadItem(HMENU menu, int position) {
  char text[256] = "";
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
  info.dwTypeData = text;
  info.cch = sizeof text;
  GetMenuItemInfoA(menu, position, TRUE, &info);
  return {info.wID, info.fType, info.fState, text, info.hSubMenu};
}

// The names in the "スキン" submenu, each with its command identifier checked on the way.
std::vector<std::string> SkinItems() {
  std::vector<std::string> names;
  HMENU skins = ReadItem(g_state.popupMenu, 0).submenu;
  for (int i = 0; i < GetMenuItemCount(skins); ++i) {
    Item item = ReadItem(skins, i);
    EXPECT_EQ(static_cast<UINT>(101 + i), item.id) << item.text;
    names.push_back(item.text);
  }
  return names;
}

std::vector<std::string> CheckedSkins() {
  std::vector<std::string> checked;
  HMENU skins = ReadItem(g_state.popupMenu, 0).submenu;
  for (int i = 0; i < GetMenuItemCount(skins); ++i) {
    Item item = ReadItem(skins, i);
    if (item.state & MFS_CHECKED) checked.push_back(item.text);
  }
  return checked;
}

// An install folder with the given skin files and setting.ini naming current.
struct SkinFolder : TempInstall {
  SkinFolder(const std::vector<std::string>& names, const char* current)
      : TempInstall(names, Small(0x00336699), current) {}
};

}  // namespace

TEST(ContextMenu, HasTheSevenItemsInOrderWithTheSkinsSubmenuFirst) {
  SkinFolder install({"default", "night"}, "night");
  OpenedAccessory accessory(install.dir);
  ASSERT_TRUE(IsMenu(g_state.popupMenu));
  ASSERT_EQ(7, GetMenuItemCount(g_state.popupMenu));
  struct Expected {
    UINT id;
    const char* text;  // nullptr for a separator
  };
  const Expected expected[] = {{0, "スキン"},
                               {40003, "スキン情報を更新(&U)"},
                               {0, nullptr},
                               {40004, "スタートアップに登録(&R)"},
                               {0, nullptr},
                               {40002, "Perchling について(&A)"},
                               {40001, "閉じる(&E)"}};
  for (int i = 0; i < 7; ++i) {
    Item item = ReadItem(g_state.popupMenu, i);
    if (!expected[i].text) {
      EXPECT_TRUE(item.type & MFT_SEPARATOR) << "position " << i;
      continue;
    }
    EXPECT_EQ(expected[i].text, item.text) << "position " << i;
    if (i == 0) {
      EXPECT_EQ(g_state.skinMenu, item.submenu);
    } else {
      EXPECT_EQ(expected[i].id, item.id) << expected[i].text;
    }
  }
  EXPECT_EQ((std::vector<std::string>{"default", "night"}), SkinItems());
  EXPECT_EQ((std::vector<std::string>{"night"}), CheckedSkins());
}

TEST(ContextMenu, ListsTheFolderInCaseFoldedOrder) {
  struct Case {
    std::vector<std::string> files;
    std::vector<std::string> listed;
  };
  const Case cases[] = {
      {{"C", "b", "A"}, {"A", "b", "C"}},
      {{"a", "_x"}, {"_x", "a"}},
      {{"my.skin", ""}, {"my.skin"}},  // "" writes a file named ".bmp": no name, not listed
      {{"\x82\xB3\x82\xAD\x82\xE7", "zz"}, {"zz", "\x82\xB3\x82\xAD\x82\xE7"}},  // さくら
  };
  for (const Case& c : cases) {
    SkinFolder install(c.files, nullptr);
    MessageBoxAnswerer answerer;  // the picture-size message: there is no default.bmp
    OpenedAccessory accessory(install.dir);
    EXPECT_EQ(c.listed, SkinItems());
  }
}

TEST(ContextMenu, EmptyOrMissingFolderShowsAGreyedNoSkinsItem) {
  for (int missing = 0; missing < 2; ++missing) {
    SkinFolder install({}, nullptr);
    if (missing) RemoveDirectoryA((install.dir + "skin").c_str());
    MessageBoxAnswerer answerer;  // the picture-size message: there is no default.bmp
    OpenedAccessory accessory(install.dir);
    HMENU skins = ReadItem(g_state.popupMenu, 0).submenu;
    ASSERT_EQ(1, GetMenuItemCount(skins));
    Item item = ReadItem(skins, 0);
    EXPECT_EQ("スキンなし", item.text);
    EXPECT_EQ(0u, item.id) << "the greyed item has no command";
    EXPECT_TRUE(item.state & MFS_GRAYED);
    EXPECT_EQ(0, g_state.skinCount);
  }
}

TEST(ContextMenu, CheckMarkIsCaseSensitiveAndGoneAfterARescan) {
  SkinFolder install({"default", "night"}, "Night");
  OpenedAccessory accessory(install.dir);
  EXPECT_TRUE(CheckedSkins().empty()) << "Night is not night for the check mark";
  accessory.Close();

  WriteTextFile(install.dir + kSettingsFile, SettingsNaming("night"));
  OpenedAccessory again(install.dir);
  EXPECT_EQ((std::vector<std::string>{"night"}), CheckedSkins());
  SendMessageA(again.window, WM_COMMAND, IDM_RESCAN, 0);
  EXPECT_TRUE(CheckedSkins().empty());
}

TEST(ContextMenu, RescanListsAPictureAddedMeanwhileAndFreesTheOldMenu) {
  SkinFolder install({"default", "night"}, nullptr);
  OpenedAccessory accessory(install.dir);
  HMENU oldPopup = g_state.popupMenu;
  HMENU oldSkins = g_state.skinMenu;
  WriteBmp(install.Skin("midday"), Small(0x00AA5500));
  EXPECT_EQ((std::vector<std::string>{"default", "night"}), SkinItems());

  SendMessageA(accessory.window, WM_COMMAND, IDM_RESCAN, 0);
  EXPECT_EQ((std::vector<std::string>{"default", "midday", "night"}), SkinItems());
  EXPECT_FALSE(IsMenu(oldPopup)) << "the old popup must be destroyed";
  EXPECT_FALSE(IsMenu(oldSkins)) << "the old submenu must be destroyed";
  EXPECT_EQ(7, GetMenuItemCount(g_state.popupMenu));
}

TEST(ContextMenu, CatalogueLimitsHoldForAFullAndUnusualFolder) {
  std::vector<std::string> names;
  for (int i = 0; i < 150; ++i) names.push_back("s" + std::to_string(1000 + i));
  names.push_back(std::string(120, 'a'));  // too long: would sort first, but is skipped
  names.push_back("0" + std::string(98, 'b'));  // 99 bytes and sorts first: listed
  SkinFolder install(names, nullptr);
  CreateDirectoryA((install.dir + "skin\\0.bmp").c_str(), NULL);  // a folder: would sort first
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  std::vector<std::string> listed = SkinItems();
  ASSERT_EQ(100u, listed.size());
  EXPECT_EQ("0" + std::string(98, 'b'), listed[0]);
  EXPECT_EQ("s1000", listed[1]);
  EXPECT_EQ("s1098", listed[99]);
  for (const std::string& name : listed) EXPECT_LE(name.size(), 99u);
}

// Routing: the whole wParam is matched against skin commands, its low word against the others.
TEST(RouteCommand, SkinRangeIsExactAndFixedCommandsUseTheLowWord) {
  SkinFolder install({"default", "night"}, "default");
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  HMENU popup = g_state.popupMenu;

  // Outside the skin range: nothing happens.
  const WPARAM ignored[] = {IDM_FIRST_SKIN - 1, IDM_FIRST_SKIN + 2, 0x10000 | IDM_FIRST_SKIN, 0};
  for (WPARAM command : ignored) {
    RouteCommand(accessory.window, command);
    EXPECT_EQ(popup, g_state.popupMenu) << command;
    EXPECT_EQ(0, DrainQuit()) << command;
  }
  EXPECT_TRUE(answerer.texts.empty());
  EXPECT_EQ(SettingsNaming("default"), install.Settings());

  // A fixed command with its high word set is still that command.
  RouteCommand(accessory.window, 0x10000 | IDM_RESCAN);
  EXPECT_NE(popup, g_state.popupMenu) << "the rescan replaces the menu";

  // The last skin in range switches (here the relaunch fails: there is no Perchling.exe).
  RouteCommand(accessory.window, IDM_FIRST_SKIN + 1);
  EXPECT_EQ(SettingsNaming("night"), install.Settings());
  WPARAM exitCode = 99;
  EXPECT_EQ(1, DrainQuit(&exitCode));
  EXPECT_EQ(0u, exitCode);
}

TEST(RouteCommand, CloseTearsDown) {
  SkinFolder install({"default"}, "default");
  OpenedAccessory accessory(install.dir);
  DeleteFileA((install.dir + kSettingsFile).c_str());
  SendMessageA(accessory.window, WM_COMMAND, IDM_CLOSE, 0);
  EXPECT_EQ(1, DrainQuit());
  EXPECT_EQ(NULL, g_state.popupMenu);
  EXPECT_EQ(SettingsNaming("default"), install.Settings());
}

TEST(SwitchSkin, PictureDeletedAfterTheScanIsReportedAndTheMenuRebuilt) {
  SkinFolder install({"default", "night", "zz"}, "default");
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  DeleteFileA(install.Skin("night").c_str());
  SendMessageA(accessory.window, WM_COMMAND, IDM_FIRST_SKIN + 1, 0);

  ASSERT_EQ(1u, answerer.texts.size());
  EXPECT_EQ(kSkinMissing, answerer.texts[0]);
  EXPECT_EQ((std::vector<std::string>{"default", "zz"}), SkinItems());
  EXPECT_EQ(SettingsNaming("default"), install.Settings());
  EXPECT_STREQ("default", g_state.currentSkin);
  EXPECT_EQ(0, DrainQuit()) << "the accessory keeps running";
  EXPECT_TRUE(KillTimer(accessory.window, kFollowTimerId)) << "and keeps following";
}

TEST(SwitchSkin, AFailedSettingsWriteIsNoSwitch) {
  SkinFolder install({"default", "night"}, "default");
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  HMENU popup = g_state.popupMenu;
  // Another program holds setting.ini open without sharing: the write fails. (A read-only file
  // would not do here: the tests run as root, and Wine lets root write to it.)
  HANDLE holder = CreateFileA((install.dir + kSettingsFile).c_str(), GENERIC_READ, 0, NULL,
                              OPEN_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  SendMessageA(accessory.window, WM_COMMAND, IDM_FIRST_SKIN + 1, 0);
  CloseHandle(holder);

  ASSERT_EQ(1u, answerer.texts.size());
  EXPECT_EQ(SaveFailedText(install.dir), answerer.texts[0]);
  EXPECT_STREQ("default", g_state.currentSkin);
  EXPECT_EQ(popup, g_state.popupMenu) << "the menu stays as it was";
  EXPECT_NE(nullptr, GetPropA(accessory.window, REGION_PROPERTY));
  EXPECT_EQ(0, DrainQuit()) << "no relaunch, no quit";
  EXPECT_TRUE(KillTimer(accessory.window, kFollowTimerId)) << "the follow timer still runs";
  EXPECT_EQ(SettingsNaming("default"), install.Settings());
}

TEST(SwitchSkin, AFailedRelaunchIsReportedAndTheChoiceKept) {
  SkinFolder install({"default", "night"}, "default");
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  SendMessageA(accessory.window, WM_COMMAND, IDM_FIRST_SKIN + 1, 0);  // no Perchling.exe there

  ASSERT_EQ(1u, answerer.texts.size());
  EXPECT_EQ(kRelaunchFailed, answerer.texts[0]);
  EXPECT_EQ(SettingsNaming("night"), install.Settings());
  EXPECT_EQ(nullptr, GetPropA(accessory.window, REGION_PROPERTY));
  EXPECT_FALSE(KillTimer(accessory.window, kFollowTimerId)) << "the timer was stopped";
  EXPECT_EQ(NULL, g_state.popupMenu);
  WPARAM exitCode = 99;
  EXPECT_EQ(1, DrainQuit(&exitCode));
  EXPECT_EQ(0u, exitCode);
}

TEST(SwitchSkin, AShiftJisNamedSkinCanBeChosen) {
  const std::string sakura = "\x82\xB3\x82\xAD\x82\xE7";  // さくら
  SkinFolder install({"default", sakura}, "default");
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  SendMessageA(accessory.window, WM_COMMAND, IDM_FIRST_SKIN + 1, 0);
  EXPECT_EQ(SettingsNaming(sakura), install.Settings());
}
