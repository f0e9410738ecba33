// Skin names: extension stripping, the case-folding order, sorting, the catalogue's limits and the
// menu text.
#include "base/skin_names.h"

#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Catalogue(const std::vector<std::string>& files) {
  static SkinName names[kMaxSkins];
  memset(names, 0, sizeof names);
  int count = 0;
  for (const std::string& file : files) count = AddSkinName(names, count, file.c_str());
  SortSkinNames(names, count);
  return std::vector<std::string>(names, names + count);
}

}  // namespace

TEST(StripExtension, CutsAtTheLastDotButNotTheFirstCharacter) {
  const char* cases[][2] = {{"default.bmp", "default"},
                            {"my.skin.bmp", "my.skin"},
                            {".bmp", ".bmp"},
                            {"a.", "a"},
                            {"noext", "noext"},
                            {"", ""},
                            {"\x83\x5C\x83\x89.bmp", "\x83\x5C\x83\x89"}};
  for (auto& c : cases) {
    char name[64];
    strcpy(name, c[0]);
    StripExtension(name);
    EXPECT_STREQ(c[1], name) << c[0];
  }
}

TEST(CompareNoCase, FoldsOnlyAsciiCapitals) {
  EXPECT_EQ(0, CompareNoCase("Night", "nIGHT"));
  EXPECT_LT(CompareNoCase("_x", "a"), 0) << "'_' sorts before every letter";
  EXPECT_LT(CompareNoCase("[", "A"), 0);
  EXPECT_LT(CompareNoCase("`", "z"), 0);
  EXPECT_LT(CompareNoCase("ab", "abc"), 0) << "the shorter string is smaller";
  EXPECT_GT(CompareNoCase("\x83\x89", "z"), 0) << "bytes compare unsigned";
  // A capital as the second byte of a double-byte character is folded too.
  EXPECT_EQ(0, CompareNoCase("\x83\x41", "\x83\x61"));
}

TEST(Catalogue, ListsNamesSortedWithoutExtension) {
  EXPECT_EQ((std::vector<std::string>{"A", "b", "C"}), Catalogue({"C.bmp", "b.bmp", "A.bmp"}));
  EXPECT_EQ((std::vector<std::string>{"_x", "a"}), Catalogue({"a.bmp", "_x.bmp"}));
  EXPECT_EQ((std::vector<std::string>{"my.skin"}), Catalogue({"my.skin.bmp", ".bmp"}));
  EXPECT_EQ((std::vector<std::string>{}), Catalogue({}));
}

TEST(Catalogue, SkipsNamesOverNinetyNineBytes) {
  std::string name99(99, 'n'), name100(100, 'm'), name200(200, 'l');
  EXPECT_EQ((std::vector<std::string>{name99}),
            Catalogue({name100 + ".bmp", name99 + ".bmp", name200 + ".bmp"}));
}

// The ANSI file search writes '?' for a character the code page lacks: such a file cannot be opened
// by the name reported, so it is not offered.
TEST(Catalogue, SkipsNamesHoldingAQuestionMark) {
  EXPECT_EQ((std::vector<std::string>{"default", "night"}),
            Catalogue({"??.bmp", "default.bmp", "so?a.bmp", "night.bmp", "?.bmp"}));
}

// Only NAME.bmp can be opened as skin\NAME.bmp: a "*.bmp" search also reports names that match
// through their short (8.3) names.
TEST(Catalogue, ListsOnlyFilesNamedNameDotBmp) {
  EXPECT_EQ((std::vector<std::string>{"a", "B"}),
            Catalogue({"a.bmp", "B.BmP", "bird.bmpx", "zz.bmp~", "only.bmpold", "x.bmp.", ".bmp",
                       "bmp"}));
}

// A device answers for any folder, under the name the system reads (UTF-16).
TEST(IsDeviceName, TheNamesWindowsKeepsForDevices) {
  const wchar_t* devices[] = {L"CON.bmp",       L"nul.bmp",    L"Aux.bmp",     L"prn.bmp",
                              L"COM1.bmp",      L"COM9.bmp",   L"lpt9.bmp",    L"nul.x.bmp",
                              L"con .bmp",      L"CONIN$.bmp", L"conout$.bmp", L"COM\u00B9.bmp",
                              L"lpt\u00B3.bmp", L"AUX"};
  for (const wchar_t* name : devices) EXPECT_EQ(1, IsDeviceName(name)) << name;
  const wchar_t* others[] = {L"com10.bmp",     L"lpt0.bmp",      L"con_.bmp",
                             L"Console.bmp",   L"x.nul.bmp",     L"conin.bmp",
                             L"COM\uFF79.bmp", L"COM\u2074.bmp", L""};
  for (const wchar_t* name : others) EXPECT_EQ(0, IsDeviceName(name)) << name;
}

TEST(Catalogue, KeepsTheHundredNamesThatSortFirstInAnyOrder) {
  std::vector<std::string> files;
  for (int i = 0; i < 150; ++i) files.push_back("skin" + std::to_string(1000 + i) + ".BMP");
  std::vector<std::string> expected;
  for (int i = 0; i < 100; ++i) expected.push_back("skin" + std::to_string(1000 + i));

  EXPECT_EQ(expected, Catalogue(files));
  std::reverse(files.begin(), files.end());
  EXPECT_EQ(expected, Catalogue(files));
  std::rotate(files.begin(), files.begin() + 37, files.end());
  EXPECT_EQ(expected, Catalogue(files));
}

TEST(MakeMenuText, DoublesEveryAmpersandSoTheNameShowsAsWritten) {
  const struct {
    const char* name;
    const char* text;
  } cases[] = {
      {"Tom&Jerry", "Tom&&Jerry"},
      {"&", "&&"},
      {"a&&b&", "a&&&&b&&"},
      {"night", "night"},
      {"", ""},
      {"\x82\xB3&\x82\xAD", "\x82\xB3&&\x82\xAD"},  // さ&く
  };
  for (const auto& c : cases) {
    char text[kMenuTextSize];
    EXPECT_EQ(1, MakeMenuText(c.name, text, sizeof text)) << c.name;
    EXPECT_STREQ(c.text, text) << c.name;
  }
}

TEST(MakeMenuText, TheLongestNameFitsAndATextTooLongIsRefusedWhole) {
  std::string ampersands(99, '&');
  char text[kMenuTextSize];
  ASSERT_EQ(1, MakeMenuText(ampersands.c_str(), text, sizeof text));
  EXPECT_EQ(std::string(2 * ampersands.size(), '&'), text);

  char small[8];
  memset(small, '#', sizeof small);
  EXPECT_EQ(1, MakeMenuText("ab&cd", small, sizeof small));  // 6 bytes and the terminator
  EXPECT_STREQ("ab&&cd", small);
  EXPECT_EQ(0, MakeMenuText("abc&def", small, sizeof small));
  EXPECT_STREQ("", small) << "never cut short";
  EXPECT_EQ(0, MakeMenuText("abcde&f", small, 7)) << "the doubled '&' does not fit";
  EXPECT_EQ('#', small[7]);
  EXPECT_EQ(0, MakeMenuText("", small, 0));
}
