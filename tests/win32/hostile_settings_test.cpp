// A hostile setting.ini, in-process: whatever the file holds, the accessory comes up, and the
// user's setting is never lost: teardown writes back exactly the name it read, leaves alone a
// name it could not read whole, and a switch that cannot be saved is no switch.
#include <gtest/gtest.h>

#include <memory>

#include "app/accessory.h"
#include "app/process.h"
#include "base/settings.h"
#include "import_patch.h"
#include "res/resource.h"
#include "test_support.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

Picture Square(Rgb colour) {
  return {24, 16, [colour](int x, int y) -> Rgb { return (x + y) % 7 ? colour : kMagenta; }};
}

struct SettingsCase {
  const char* what;
  std::string file;       // what setting.ini holds at start-up
  std::string skinRead;   // currentSkin after start-up
  bool pictureFound;      // whether the skin read has a picture (else the size message)
  std::string fileAfter;  // setting.ini after teardown
};

std::string Garbage() {
  std::string bytes;
  for (int i = 0; i < 700; ++i) bytes += static_cast<char>((i * 151 + 7) % 256);
  return bytes;
}

}  // namespace

TEST(HostileSettings, TeardownKeepsWhatWasReadAndNeverCutsIt) {
  const std::string name259(259, 'n'), name300(300, 'l');
  const std::string bird = "\x83\x5C\x83\x89";  // ソラ in Shift-JIS; its second byte is '\'
  const SettingsCase cases[] = {
      {"empty file", "", "default", true, SettingsNaming("default")},
      {"only a section", "[MAIN]\r\n", "default", true, SettingsNaming("default")},
      {"a Shift-JIS name whose second byte is a backslash", SettingsNaming(bird), bird, true,
       SettingsNaming(bird)},
      {"a UTF-8 byte-order mark before the section", kBom + SettingsNaming("night"), "night", true,
       kBom + SettingsNaming("night")},
      {"a value of 259 bytes: read whole, no such picture, written back whole",
       SettingsNaming(name259), name259, false, SettingsNaming(name259)},
      {"a value of 300 bytes: cut on reading, so the file is left alone", SettingsNaming(name300),
       name300.substr(0, 259), false, SettingsNaming(name300)},
      {"other keys and sections are kept", "[OTHER]\r\nA=1\r\n[MAIN]\r\nX=2\r\nSKIN=night\r\n",
       "night", true, "[OTHER]\r\nA=1\r\n[MAIN]\r\nX=2\r\nSKIN=night\r\n"},
  };
  for (const SettingsCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempInstall install;
    WriteBmp(install.Skin("default"), Square(0x00406080));
    WriteBmp(install.Skin("night"), Square(0x00102040));
    WriteBmp(install.Skin(bird), Square(0x00804020));
    WriteTextFile(install.dir + kSettingsFile, c.file);
    MessageBoxAnswerer answerer;
    OpenedAccessory accessory(install.dir);
    EXPECT_EQ(c.skinRead, g_state.currentSkin);
    if (c.pictureFound) {
      EXPECT_TRUE(answerer.texts.empty());
    } else {
      ASSERT_EQ(1u, answerer.texts.size());
      EXPECT_EQ(kPictureSizeFailed, answerer.texts[0]);
    }
    accessory.Close();
    EXPECT_EQ(c.fileAfter, ReadTextFile(install.dir + kSettingsFile));
  }
}

// Bytes without a [MAIN] section (NUL bytes among them) give "default"; the file may be rewritten
// by the platform, but it then reads back as the name in use.
TEST(HostileSettings, BinaryGarbageGivesDefaultAndStaysReadable) {
  TempInstall install;
  WriteBmp(install.Skin("default"), Square(0x00406080));
  WriteTextFile(install.dir + kSettingsFile, Garbage());
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  EXPECT_STREQ("default", g_state.currentSkin);
  EXPECT_TRUE(answerer.texts.empty());
  accessory.Close();
  char value[64];
  GetPrivateProfileStringA("MAIN", "SKIN", "", value, sizeof value,
                           (install.dir + kSettingsFile).c_str());
  EXPECT_STREQ("default", value);
}

BOOL WINAPI RefuseProfileWrite(LPCSTR, LPCSTR, LPCSTR, LPCSTR) {
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

// A setting.ini that cannot be written: a folder of that name, or a write the platform refuses
// (as for a read-only file; Wine run as root writes read-only files all the same, so the refusal
// is injected). Teardown changes nothing and a skin switch is refused with its message, keeping
// the running copy as it was.
TEST(HostileSettings, UnwritableSettingsLoseNothingAndRefuseTheSwitch) {
  for (int folder = 0; folder < 2; ++folder) {
    SCOPED_TRACE(folder ? "a folder named setting.ini" : "a write the platform refuses");
    TempInstall install;
    WriteBmp(install.Skin("default"), Square(0x00406080));
    WriteBmp(install.Skin("night"), Square(0x00102040));
    std::string settings = install.dir + kSettingsFile;
    if (folder) {
      CreateDirectoryA(settings.c_str(), NULL);
    } else {
      WriteTextFile(settings, SettingsNaming("default"));
    }
    std::unique_ptr<ImportPatch> refusal;
    if (!folder) {
      refusal.reset(new ImportPatch("KERNEL32.dll", "WritePrivateProfileStringA",
                                    reinterpret_cast<void*>(RefuseProfileWrite)));
      ASSERT_NE(nullptr, refusal->slot);
    }
    MessageBoxAnswerer answerer;
    OpenedAccessory accessory(install.dir);
    EXPECT_STREQ("default", g_state.currentSkin);
    EXPECT_EQ(0, SaveSettings()) << "the write must be seen to fail";

    SendMessageA(accessory.window, WM_COMMAND, IDM_FIRST_SKIN + 1, 0);  // night, the second skin
    ASSERT_EQ(1u, answerer.texts.size());
    EXPECT_EQ(SaveFailedText(install.dir), answerer.texts[0]);
    EXPECT_STREQ("default", g_state.currentSkin);
    EXPECT_EQ(0, DrainQuit()) << "a switch that was not saved must not end this copy";
    EXPECT_TRUE(IsMenu(g_state.popupMenu)) << "the menu must stay";
    EXPECT_TRUE(KillTimer(accessory.window, kFollowTimerId)) << "the follow timer must still run";

    accessory.Close();
    if (folder) {
      EXPECT_NE(0u, GetFileAttributesA(settings.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    } else {
      EXPECT_EQ(SettingsNaming("default"), ReadTextFile(settings));
    }
  }
}
