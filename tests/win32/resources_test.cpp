// The resources as built into the executable (the tests link the same script): the icon, the link
// cursor and the version information. The About box's layout is tested on the box itself.
#include <gtest/gtest.h>

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

}  // namespace

TEST(Resources, IconIsOne48x48ImageWith256Colours) {
  DWORD size = 0;
  auto group =
      reinterpret_cast<const GroupDirectory*>(ResourceBytes(RT_GROUP_ICON, 102, &size));
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
      ResourceBytes(RT_GROUP_CURSOR, 150, &size));
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
  EXPECT_EQ("ぺるりんのデスクトップアクセサリ", value("FileDescription"));
  EXPECT_EQ("0.00", value("FileVersion"));
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
