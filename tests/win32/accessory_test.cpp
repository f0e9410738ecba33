// The accessory window in-process: identity, shape, following, teardown and the settings file.
#include <gtest/gtest.h>

#include "app/accessory.h"
#include "app/process.h"
#include "base/install_paths.h"
#include "base/settings.h"
#include "test_support.h"

namespace {

const Rgb kBody = 0x00E0A040;

// A 23 x 17 creature: a disc with a hole and a one-pixel notch, magenta around it.
Picture Creature() {
  return {23, 17, [](int x, int y) -> Rgb {
            int dx = x - 11, dy = y - 8;
            if (dx * dx + dy * dy > 64) return kMagenta;
            if (x == 11 && y == 8) return kMagenta;  // a one-pixel hole
            if (x == 13) return kMagenta;            // a column that splits every row
            return (x + y) % 3 ? kBody : 0x00202020;
          }};
}

void ExpectShape(HWND window, const Picture& picture) {
  HRGN actual = CreateRectRgn(0, 0, 0, 0);
  int kind = GetWindowRgn(window, actual);
  HRGN expected = ExpectedShape(picture);
  EXPECT_NE(ERROR, kind) << "the window must have a region";
  EXPECT_TRUE(EqualRgn(actual, expected));
  DeleteObject(expected);
  DeleteObject(actual);
}

}  // namespace

TEST(AccessoryWindow, HasItsClassTitleStylesSizeAndShape) {
  TempInstall install;
  Picture creature = Creature();
  WriteBmp(install.Skin("default"), creature);
  OpenedAccessory accessory(install.dir);
  ASSERT_TRUE(IsWindow(accessory.window));

  char name[64];
  GetClassNameA(accessory.window, name, sizeof name);
  EXPECT_STREQ("PerchlingClass", name);
  GetWindowTextA(accessory.window, name, sizeof name);
  EXPECT_STREQ(kTitle, name);
  EXPECT_EQ(0x940A0000u, static_cast<DWORD>(GetWindowLongA(accessory.window, GWL_STYLE)));
  EXPECT_EQ(0x88u, static_cast<DWORD>(GetWindowLongA(accessory.window, GWL_EXSTYLE)));
  RECT rect = WindowRect(accessory.window);
  EXPECT_EQ(23, rect.right - rect.left);
  EXPECT_EQ(17, rect.bottom - rect.top);
  ExpectShape(accessory.window, creature);
  EXPECT_NE(nullptr, GetPropA(accessory.window, "PerchlingRegion"));
}

TEST(AccessoryWindow, ShapeOfPalettePictureWithMagentaInItsPalette) {
  TempInstall install;
  Picture creature = Creature();
  WriteBmp(install.Skin("default"), creature, kBmp8);
  OpenedAccessory accessory(install.dir);
  ExpectShape(accessory.window, creature);
}

TEST(AccessoryWindow, PictureWithoutMagentaIsAFullRectangle) {
  TempInstall install;
  Picture solid = Solid(31, 9, kBody);
  WriteBmp(install.Skin("default"), solid);
  OpenedAccessory accessory(install.dir);
  HRGN actual = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(SIMPLEREGION, GetWindowRgn(accessory.window, actual));
  RECT box = RegionBox(actual);
  EXPECT_EQ(0, box.left);
  EXPECT_EQ(0, box.top);
  EXPECT_EQ(31, box.right);
  EXPECT_EQ(9, box.bottom);
  DeleteObject(actual);
}

TEST(AccessoryWindow, AllMagentaPictureGivesAnEmptyRegionNotNone) {
  TempInstall install;
  WriteBmp(install.Skin("default"), Solid(16, 16, kMagenta));
  OpenedAccessory accessory(install.dir);
  HRGN actual = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(NULLREGION, GetWindowRgn(accessory.window, actual));
  DeleteObject(actual);
  RECT rect = WindowRect(accessory.window);
  EXPECT_EQ(16, rect.right - rect.left);
}

TEST(FollowTick, PerchesOnTheForegroundWindowsTitleBar) {
  TempInstall install;
  WriteBmp(install.Skin("default"), Creature());
  OpenedAccessory accessory(install.dir);
  TargetWindow target("Target", 300, 400, 500, 200);
  RECT perch = PerchOn(target.window, 23, 17);
  ASSERT_EQ(target.window, GetForegroundWindow());
  ASSERT_TRUE(PumpUntil([&] {
    RECT r = WindowRect(accessory.window);
    return EqualRect(&r, &perch) != 0;
  })) << "the accessory did not perch; it is at " << WindowRect(accessory.window).left << ","
      << WindowRect(accessory.window).top;
  RECT rect = WindowRect(accessory.window);
  EXPECT_EQ(23, rect.right - rect.left) << "following keeps the picture's size";

  // Near the top of the screen the accessory goes partly above it: no clamping.
  for (int top : {0, -10}) {
    MoveWindow(target.window, 100, top, 400, 150, TRUE);
    EXPECT_TRUE(PumpUntil([&] {
      return WindowRect(accessory.window).top == PerchOn(target.window, 23, 17).top;
    })) << "on a window at the top "
        << top;
  }
}

TEST(FollowTick, StaysPutWhileAWindowTitledPerchlingIsInFront) {
  TempInstall install;
  WriteBmp(install.Skin("default"), Creature());
  OpenedAccessory accessory(install.dir);
  MoveWindow(accessory.window, 50, 60, 23, 17, TRUE);
  TargetWindow namesake(kTitle, 400, 500, 300, 100);
  ASSERT_EQ(namesake.window, GetForegroundWindow());
  // Ticks sent here rather than waited for: each one is sure to have run.
  for (int i = 0; i < 6; ++i) SendMessageA(accessory.window, WM_TIMER, kFollowTimerId, 0);
  RECT rect = WindowRect(accessory.window);
  EXPECT_EQ(50, rect.left);
  EXPECT_EQ(60, rect.top);
}

TEST(Teardown, StopsTheTimerDropsThePropertyWritesSettingsAndQuits) {
  TempInstall install;
  WriteBmp(install.Skin("night"), Creature());
  WriteTextFile(install.dir + kSettingsFile, SettingsNaming("night"));
  OpenedAccessory accessory(install.dir);
  DeleteFileA((install.dir + kSettingsFile).c_str());

  SendMessageA(accessory.window, WM_DESTROY, 0, 0);  // as the Close command does
  EXPECT_EQ(nullptr, GetPropA(accessory.window, REGION_PROPERTY));
  EXPECT_FALSE(KillTimer(accessory.window, kFollowTimerId)) << "the follow timer must be stopped already";
  EXPECT_EQ(SettingsNaming("night"), ReadTextFile(install.dir + kSettingsFile));
  WPARAM exitCode = 99;
  EXPECT_EQ(1, DrainQuit(&exitCode));
  EXPECT_EQ(0u, exitCode);
}

TEST(Settings, MissingFileSectionOrKeyMeansDefault) {
  const char* files[] = {nullptr, "[OTHER]\r\nSKIN=night\r\n", "[MAIN]\r\nCOLOUR=night\r\n"};
  for (const char* file : files) {
    TempInstall install;
    if (file) WriteTextFile(install.dir + kSettingsFile, file);
    lstrcpynA(g_state.installDir, install.dir.c_str(), kPathSize);
    LoadSettings();
    EXPECT_STREQ("default", g_state.currentSkin) << (file ? file : "no file");
  }
}

TEST(Settings, EmptyValueGivesAnEmptyName) {
  TempInstall install;
  WriteTextFile(install.dir + kSettingsFile, SettingsNaming(""));
  lstrcpynA(g_state.installDir, install.dir.c_str(), kPathSize);
  LoadSettings();
  EXPECT_STREQ("", g_state.currentSkin);
}

TEST(Settings, PictureLookupIgnoresCase) {
  TempInstall install;
  WriteBmp(install.Skin("night"), Creature());
  WriteTextFile(install.dir + kSettingsFile, SettingsNaming("NIGHT"));
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  EXPECT_TRUE(answerer.texts.empty());
  EXPECT_EQ(23, WindowRect(accessory.window).right - WindowRect(accessory.window).left);
  EXPECT_STREQ("NIGHT", g_state.currentSkin);
}

TEST(MissingPicture, ReportsOnceAndLeavesA120WindowThatFollows) {
  TempInstall install;
  WriteTextFile(install.dir + kSettingsFile, SettingsNaming("gone"));
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  ASSERT_EQ(1u, answerer.texts.size());
  EXPECT_EQ(kPictureSizeFailed, answerer.texts[0]);
  RECT rect = WindowRect(accessory.window);
  EXPECT_EQ(120, rect.right - rect.left);
  EXPECT_EQ(120, rect.bottom - rect.top);

  TargetWindow target("Target", 200, 300, 400, 200);
  EXPECT_TRUE(PumpUntil(
      [&] { return WindowRect(accessory.window).left == PerchOn(target.window, 120, 120).left; }));
  EXPECT_EQ(1u, answerer.texts.size());
}

TEST(MissingPicture, UnreadableFileCountsAsMissing) {
  TempInstall install;
  WriteTextFile(install.Skin("default"), "this is not a picture");
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  ASSERT_EQ(1u, answerer.texts.size());
  EXPECT_EQ(kPictureSizeFailed, answerer.texts[0]);
}

TEST(InstallDir, IsTheExecutablesFolderWithItsBackslash) {
  char expected[MAX_PATH];
  GetModuleFileNameA(NULL, expected, MAX_PATH);
  *(strrchr(expected, '\\') + 1) = 0;
  char derived[kPathSize];
  DeriveInstallDir(derived);
  EXPECT_STREQ(expected, derived);
}

// A skin name with a folder in it must not reach a picture outside the skin folder, and must be
// kept as it was in setting.ini.
TEST(SkinNameLeavingTheFolder, CountsAsMissingAndIsWrittenBackUnchanged) {
  TempInstall install;
  WriteBmp(install.dir + "outside.bmp", Creature());
  const char* names[] = {"..\\outside", "../outside"};
  for (const char* name : names) {
    WriteTextFile(install.dir + kSettingsFile, SettingsNaming(name));
    MessageBoxAnswerer answerer;
    OpenedAccessory accessory(install.dir);
    EXPECT_EQ(1u, answerer.texts.size()) << name;
    EXPECT_EQ(120, WindowRect(accessory.window).right - WindowRect(accessory.window).left);
    accessory.Close();
    EXPECT_EQ(SettingsNaming(name), ReadTextFile(install.dir + kSettingsFile));
  }
}

// An install directory so long that its files' paths do not fit: nothing is cut short, the
// picture counts as missing, "default" is read and nothing is written.
TEST(BoundedPaths, PathsThatDoNotFitNameNoFile) {
  TempInstall install;
  std::string deep = install.dir;
  // However long the temporary folder's own name is, the files' paths end up just too long.
  while (deep.size() + strlen(kSettingsFile) <= 259) {
    deep += "deeper\\";
    CreateDirectoryA(deep.c_str(), NULL);
  }
  CreateDirectoryA((deep + "skin").c_str(), NULL);
  // "%sskin\default.bmp" and "%ssetting.ini" no longer fit in 260 bytes.
  ASSERT_GT(deep.size() + strlen(kSettingsFile), 259u);
  WriteTextFile(deep + kSettingsFile, SettingsNaming("night"));

  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(deep);
  EXPECT_STREQ("default", g_state.currentSkin);
  ASSERT_EQ(1u, answerer.texts.size());
  EXPECT_EQ(kPictureSizeFailed, answerer.texts[0]);
  EXPECT_EQ(0, SaveSettings());
  accessory.Close();

  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((deep + "*").c_str(), &found);
  int files = 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_EQ(1, files) << "only the setting.ini the test wrote may be there";
  EXPECT_EQ(SettingsNaming("night"), ReadTextFile(deep + kSettingsFile));
}
