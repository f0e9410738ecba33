// The resources as built into the executable (the tests link the same script): the icon, the link
// cursor, the About box's template and the version information.
#include <gtest/gtest.h>
#include <wchar.h>

#include "res/resource.h"
#include "res/texts.h"
#include "test_support.h"

namespace {

// A resource's bytes, from this executable.
const BYTE* ResourceBytes(LPCSTR type, int id, DWORD* size) {
  HMODULE module = GetModuleHandleA(NULL);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!found) return nullptr;
  *size = SizeofResource(module, found);
  return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

#pragma pack(push, 2)
struct GroupEntry {  // one image in an RT_GROUP_ICON or RT_GROUP_CURSOR directory
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct GroupDirectory {
  WORD reserved, type, count;
  GroupEntry entries[1];
};
#pragma pack(pop)

// Reads a classic dialog template: its header, then each item, DWORD-aligned.
struct TemplateReader {
  const BYTE* at;
  WORD Word() {
    WORD value = *reinterpret_cast<const WORD*>(at);
    at += 2;
    return value;
  }
  DWORD Dword() { return Word() | static_cast<DWORD>(Word()) << 16; }
  // A string or a 0xFFFF-prefixed ordinal, returned as "#<ordinal>".
  std::string Text() {
    if (*reinterpret_cast<const WORD*>(at) == 0xFFFF) {
      Word();
      return "#" + std::to_string(Word());
    }
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(at);
    at += (wcslen(wide) + 1) * 2;
    char text[256];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
    return text;
  }
  void Align() {
    while (reinterpret_cast<UINT_PTR>(at) % 4) ++at;
  }
};

// A control's class as a name: the ordinals of the predefined classes, or the name in capitals.
std::string ClassName(std::string text) {
  if (text == "#128") return "BUTTON";
  if (text == "#130") return "STATIC";
  CharUpperA(&text[0]);
  return text;
}

struct TemplateItem {
  DWORD style;
  short x, y, width, height;
  int id;
  std::string kind, text;
};

}  // namespace

TEST(Resources, IconIsOne48x48ImageWith256Colours) {
  DWORD size = 0;
  auto group =
      reinterpret_cast<const GroupDirectory*>(ResourceBytes(RT_GROUP_ICON, IDI_PERCHLING, &size));
  ASSERT_NE(nullptr, group);
  ASSERT_EQ(1, group->count);
  EXPECT_EQ(48, group->entries[0].width);
  EXPECT_EQ(48, group->entries[0].height);
  auto image = reinterpret_cast<const BITMAPINFOHEADER*>(
      ResourceBytes(RT_ICON, group->entries[0].id, &size));
  ASSERT_NE(nullptr, image);
  EXPECT_EQ(48, image->biWidth);
  EXPECT_EQ(96, image->biHeight) << "colour image and mask";
  EXPECT_EQ(8, image->biBitCount);
}

TEST(Resources, CursorIs32x32MonochromeWithItsHotSpotAt5_5) {
  DWORD size = 0;
  auto group = reinterpret_cast<const GroupDirectory*>(
      ResourceBytes(RT_GROUP_CURSOR, IDC_LINK_CURSOR, &size));
  ASSERT_NE(nullptr, group);
  ASSERT_EQ(1, group->count);
  const BYTE* data = ResourceBytes(RT_CURSOR, group->entries[0].id, &size);
  ASSERT_NE(nullptr, data);
  const WORD* hotSpot = reinterpret_cast<const WORD*>(data);
  EXPECT_EQ(5, hotSpot[0]);
  EXPECT_EQ(5, hotSpot[1]);
  auto image = reinterpret_cast<const BITMAPINFOHEADER*>(data + 2 * sizeof(WORD));
  EXPECT_EQ(32, image->biWidth);
  EXPECT_EQ(64, image->biHeight) << "image and mask";
  EXPECT_EQ(1, image->biBitCount);
}

TEST(Resources, AboutDialogTemplateIsAsDesigned) {
  DWORD size = 0;
  TemplateReader read = {ResourceBytes(RT_DIALOG, IDD_ABOUT, &size)};
  ASSERT_NE(nullptr, read.at);
  EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT), read.Dword());
  EXPECT_EQ(0u, read.Dword());
  WORD count = read.Word();
  EXPECT_EQ(0, static_cast<short>(read.Word())) << "x";
  EXPECT_EQ(0, static_cast<short>(read.Word())) << "y";
  EXPECT_EQ(187, static_cast<short>(read.Word())) << "width";
  EXPECT_EQ(123, static_cast<short>(read.Word())) << "height";
  EXPECT_EQ("", read.Text()) << "menu";
  EXPECT_EQ("", read.Text()) << "class";
  EXPECT_EQ(TEXT_ABOUT_CAPTION, read.Text());
  EXPECT_EQ(9, read.Word());
  EXPECT_EQ(TEXT_ABOUT_FONT, read.Text());

  const DWORD kChild = WS_CHILD | WS_VISIBLE;
  const TemplateItem expected[] = {
      {kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 51, 102, 78, 14, IDOK, "BUTTON", "OK"},
      {kChild | SS_ICON, 18, 37, 20, 20, -1, "STATIC", "#102"},
      {kChild | SS_CENTER | WS_GROUP, 57, 15, 117, 18, -1, "STATIC",
       TEXT_ABOUT_VERSION},
      {kChild | WS_GROUP, 57, 45, 70, 8, -1, "STATIC", TEXT_ABOUT_MAKER_LABEL},
      {kChild | WS_GROUP, 57, 67, 76, 8, -1, "STATIC", TEXT_ABOUT_CHARACTER_LABEL},
      {kChild | SS_NOTIFY | WS_GROUP, 63, 55, 91, 8, 1000, "STATIC", TEXT_URL_MAKER},
      {kChild | SS_NOTIFY | WS_GROUP, 63, 75, 111, 8, 1001, "STATIC",
       TEXT_URL_CHARACTER},
      {kChild | BS_GROUPBOX, 54, 6, 123, 30, -1, "BUTTON", ""},
  };
  ASSERT_EQ(sizeof expected / sizeof expected[0], count);
  for (const TemplateItem& item : expected) {
    read.Align();
    SCOPED_TRACE(item.text);
    EXPECT_EQ(item.style, read.Dword());
    EXPECT_EQ(0u, read.Dword());
    EXPECT_EQ(item.x, static_cast<short>(read.Word()));
    EXPECT_EQ(item.y, static_cast<short>(read.Word()));
    EXPECT_EQ(item.width, static_cast<short>(read.Word()));
    EXPECT_EQ(item.height, static_cast<short>(read.Word()));
    EXPECT_EQ(item.id, static_cast<short>(read.Word()));
    EXPECT_EQ(item.kind, ClassName(read.Text()));
    EXPECT_EQ(item.text, read.Text());
    WORD creationData = read.Word();
    EXPECT_EQ(0, creationData);
    read.at += creationData;
  }
}

TEST(Resources, VersionInformationNamesTheProduct) {
  char path[MAX_PATH];
  GetModuleFileNameA(NULL, path, MAX_PATH);
  std::vector<char> block(GetFileVersionInfoSizeA(path, NULL));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()));
  auto value = [&](const char* name) -> std::string {
    char* text = nullptr;
    UINT length = 0;
    std::string key = std::string("\\StringFileInfo\\041104B0\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &length))
      return "<none>";
    return text;
  };
  EXPECT_EQ("Perchling", value("ProductName"));
  EXPECT_EQ(TEXT_SHORTCUT_DESCRIPTION, value("FileDescription"));
  // The build's version, which names the release zip, is the one the About box's text shows.
  EXPECT_NE(std::string::npos,
            std::string(TEXT_ABOUT_VERSION).find("ver " + value("FileVersion") + "\n"));
  EXPECT_EQ(value("FileVersion"), value("ProductVersion"));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
  EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
  char numbers[32];  // "0.00" is major 0, minor 0
  snprintf(numbers, sizeof numbers, "%u.%02u",
           static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
           static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)));
  EXPECT_EQ(value("FileVersion"), numbers);
}
