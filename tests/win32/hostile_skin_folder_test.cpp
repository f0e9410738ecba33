// A hostile skin folder, in-process: missing, empty, a file in its place, too many pictures, and
// names that are odd, too long, all extension, devices, not NAME.bmp, or folders. The catalogue
// and the "スキン" submenu list exactly what the catalogue's rules say, and choosing a picture that
// is gone is reported without changing anything.
#include <gtest/gtest.h>

#include <vector>

#include "res/resource.h"
#include "test_support.h"

namespace {


Picture Tiny() {
  return {8, 8, [](int x, int y) -> Rgb { return (x ^ y) & 1 ? 0x00404040 : kMagenta; }};
}

std::vector<std::string> Catalogue() {
  return std::vector<std::string>(g_state.skinNames, g_state.skinNames + g_state.skinCount);
}

// The submenu's item texts, and whether the items carry the identifiers 101 + index.
std::vector<std::string> SubmenuTexts(bool* identifiersInOrder) {
  std::vector<std::string> texts;
  *identifiersInOrder = true;
  for (int i = 0; i < GetMenuItemCount(g_state.skinMenu); ++i) {
    char text[256] = "";
    GetMenuStringA(g_state.skinMenu, i, text, sizeof text, MF_BYPOSITION);
    texts.push_back(text);
    if (g_state.skinCount > 0 && GetMenuItemID(g_state.skinMenu, i) != static_cast<UINT>(IDM_FIRST_SKIN + i))
      *identifiersInOrder = false;
  }
  return texts;
}

struct FolderCase {
  const char* what;
  std::function<void(const TempInstall&)> arrange;
  std::vector<std::string> expected;
};

}  // namespace

TEST(HostileSkinFolder, CatalogueAndSubmenuListExactlyWhatTheRulesSay) {
  const std::string name99(99, 'n'), name100(100, 'm'), name200(200, 'l');
  std::vector<std::string> first100;
  for (int i = 0; i < 100; ++i) first100.push_back("p" + std::to_string(1000 + i));
  const FolderCase cases[] = {
      {"no skin folder", [](const TempInstall& in) { RemoveTree(in.dir + "skin"); }, {}},
      {"an empty skin folder", [](const TempInstall&) {}, {}},
      {"a file named skin instead of the folder",
       [](const TempInstall& in) {
         RemoveTree(in.dir + "skin");
         WriteTextFile(in.dir + "skin", "x");
       },
       {}},
      {"150 pictures: the 100 that sort first",
       [](const TempInstall& in) {
         for (int i = 149; i >= 0; --i) WriteBmp(in.Skin("p" + std::to_string(1000 + i)), Tiny());
       },
       first100},
      {"odd names, sorted with ASCII capitals folded",
       [&](const TempInstall& in) {
         const char* names[] = {"\x82\xB3\x82\xAD\x82\xE7", "a b", "[x",  "_y", "`z", "A",
                                "\x83\x5C\x83\x89",         "a.b", ".bmp"};
         for (const char* name : names) WriteBmp(in.Skin(name), Tiny());
         WriteBmp(in.dir + "skin\\.bmp", Tiny());  // a file named just .bmp: no name, not listed
         WriteBmp(in.dir + "skin\\UPPER.BMP", Tiny());
       },
       {".bmp", "[x", "_y", "`z", "A", "a b", "a.b", "UPPER", "\x82\xB3\x82\xAD\x82\xE7",
        "\x83\x5C\x83\x89"}},
      {"names of 99, 100 and 200 bytes: only the 99-byte name",
       [&](const TempInstall& in) {
         for (const std::string* name : {&name200, &name100, &name99})
           WriteBmp(in.Skin(*name), Tiny());
       },
       {name99}},
      {"names *.bmp matches through their short names, a folder, devices: none is listed",
       [](const TempInstall& in) {
         for (const char* name : {"bird.bmpx", "zz.bmp~", "only.bmpold", "x.bmp.", "CON.bmp",
                                  "nul.bmp", "CONIN$.bmp", "conout$.bmp", "default.bmp"})
           WriteBmp(in.dir + "skin\\" + name, Tiny());
         CreateDirectoryA((in.dir + "skin\\dir.bmp").c_str(), NULL);
       },
       {"default"}},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempInstall install;
    c.arrange(install);
    MessageBoxAnswerer answerer;
    OpenedAccessory accessory(install.dir);
    EXPECT_EQ(c.expected, Catalogue());
    bool identifiersInOrder = false;
    std::vector<std::string> texts = SubmenuTexts(&identifiersInOrder);
    if (c.expected.empty()) {
      EXPECT_EQ(std::vector<std::string>{"スキンなし"}, texts);
      EXPECT_EQ(static_cast<UINT>(MF_GRAYED),
                GetMenuState(g_state.skinMenu, 0, MF_BYPOSITION) & MF_GRAYED);
    } else {
      EXPECT_EQ(c.expected, texts);
      EXPECT_TRUE(identifiersInOrder);
    }
  }
}

// A picture replaced by a folder of its name since the last scan: choosing it is reported as a
// vanished picture; the setting and the copy stay.
TEST(HostileSkinFolder, ChoosingAnEntryThatIsNoPictureIsReported) {
  TempInstall install({"default", "x"}, Tiny(), "default");
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(install.dir);
  ASSERT_EQ((std::vector<std::string>{"default", "x"}), Catalogue());
  DeleteFileA(install.Skin("x").c_str());
  CreateDirectoryA(install.Skin("x").c_str(), NULL);

  SendMessageA(accessory.window, WM_COMMAND, IDM_FIRST_SKIN + 1, 0);  // x, now the folder
  ASSERT_EQ(1u, answerer.texts.size());
  EXPECT_EQ(kSkinMissing, answerer.texts[0]);
  EXPECT_STREQ("default", g_state.currentSkin);
  EXPECT_EQ(0, DrainQuit()) << "this copy must go on running";
  EXPECT_EQ(SettingsNaming("default"), ReadTextFile(install.dir + kSettingsFile));
}

// In a deep install folder a 99-byte name fits the catalogue but its picture's path fits no path
// buffer: listed, it could only be reported missing, and listed again by the rescan.
TEST(HostileSkinFolder, APictureWhosePathDoesNotFitIsNotListed) {
  TempInstall install;
  const std::string deep = install.dir + std::string(140, 'd') + "\\";
  CreateDirectoryA(deep.c_str(), NULL);
  CreateDirectoryA((deep + "skin").c_str(), NULL);
  ASSERT_GT(deep.size() + strlen("skin\\.bmp") + 99, size_t(kPathSize - 1));
  // Written short and renamed: no ANSI function takes a path that long.
  WriteBmp(deep + "skin\\n.bmp", Tiny());
  const std::wstring skins = L"\\\\?\\" + std::wstring(deep.begin(), deep.end()) + L"skin\\";
  const std::wstring longName = skins + std::wstring(99, L'n') + L".bmp";
  ASSERT_TRUE(MoveFileW((skins + L"n.bmp").c_str(), longName.c_str()));
  WriteBmp(deep + "skin\\short.bmp", Tiny());
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(deep);
  EXPECT_EQ(std::vector<std::string>{"short"}, Catalogue());
}
