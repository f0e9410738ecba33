// The program's texts read as written, and its skins can be opened, whatever the system's ANSI
// code page. The suite runs these under 932; the code-page end-to-end test runs them again in a
// Western locale (1252) and beside a manifest that asks for UTF-8 (65001). No narrow Japanese
// literal appears here: it would hold Shift-JIS bytes, which mean something else there.
#include <gtest/gtest.h>

#include <memory>

#include "about/about_box.h"
#include "app/accessory.h"
#include "base/ansi_names.h"
#include "import_patch.h"
#include "test_support.h"

namespace {

void* g_realWideToAnsi;  // WideCharToMultiByte behind StrictWideToAnsi

UINT WINAPI Utf8CodePage() { return CP_UTF8; }  // WC_ERR_INVALID_CHARS then only with CP_UTF8:
int WINAPI StrictWideToAnsi(UINT cp, DWORD flags, LPCWCH wide, int wideLength, LPSTR ansi,
                            int ansiSize, LPCCH fallback, LPBOOL usedFallback) {
  if (cp == CP_ACP && (flags & WC_ERR_INVALID_CHARS)) return SetLastError(ERROR_INVALID_FLAGS), 0;
  return reinterpret_cast<decltype(&WideCharToMultiByte)>(g_realWideToAnsi)(
      cp, flags, wide, wideLength, ansi, ansiSize, fallback, usedFallback);
}

std::wstring MenuText(HMENU menu, UINT position) {
  wchar_t text[256] = L"";
  GetMenuStringW(menu, position, text, sizeof text / sizeof text[0], MF_BYPOSITION);
  return text;
}

// Writes a small picture under a name given in UTF-16, as Explorer would save it.
void WriteWideNamedSkin(const std::string& installDir, const wchar_t* name) {
  wchar_t dir[kPathSize];
  MultiByteToWideChar(CP_ACP, 0, installDir.c_str(), -1, dir, kPathSize);
  const std::wstring path = std::wstring(dir) + L"skin\\" + name + L".bmp";
  const std::string bytes = BmpBytes({4, 3, [](int, int) { return 0x00336699u; }}, kBmp24);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
  CloseHandle(file);
}

}  // namespace

TEST(EveryCodePage, MenuItemsAndMessagesReadAsWritten) {
  printf("ANSI code page %u\n", GetACP());  // the end-to-end test checks which one it got
  {
    TempInstall install({"default"}, {8, 6, [](int, int) { return 0x00336699u; }}, "default");
    OpenedAccessory accessory(install.dir);
    EXPECT_EQ(L"スキン", MenuText(g_state.popupMenu, 0));
  }
  TempInstall empty;  // no pictures: the picture-size message and the greyed "none" item
  MessageBoxAnswerer answerer;
  OpenedAccessory accessory(empty.dir);
  EXPECT_EQ(std::vector<std::wstring>{kPictureSizeFailed}, answerer.texts);
  EXPECT_EQ(kNoSkins, MenuText(g_state.skinMenu, 0));
}

TEST(EveryCodePage, EveryListedSkinCanBeOpened) {
  // Thai has no character in 932 or 1252, Japanese none in 1252: the ANSI file search names such
  // files with '?'. It names others with a look-alike: "Star＊" as "Star*" and "ＡＢＣ" as "ABC"
  // under 1252, "café" as "cafe" under 932. Under 65001 all six are listed. Never listed: names
  // "*.bmp" matches only through their short names, devices, and a folder.
  const Picture tiny = {4, 3, [](int, int) { return 0x00336699u; }};
  TempInstall install({"default"}, tiny, "default");
  for (const wchar_t* name :
       {L"\x0E01\x0E02", L"\x30BD\x30E9", L"Star\xFF0A", L"\xFF21\xFF22\xFF23", L"caf\x00E9"})
    WriteWideNamedSkin(install.dir, name);
  for (const char* name : {"bird.bmpx", "zz.bmp~", "only.bmpold", "x.bmp.", "CON.bmp", "nul.bmp"})
    WriteBmp(install.dir + "skin\\" + name, tiny);
  CreateDirectoryA((install.dir + "skin\\dir.bmp").c_str(), NULL);
  OpenedAccessory accessory(install.dir);
  ASSERT_LE(1, g_state.skinCount);
  if (GetACP() == CP_UTF8) {
    EXPECT_EQ(6, g_state.skinCount) << "UTF-8 names every file";
  }
  for (int i = 0; i < g_state.skinCount; ++i) {
    HBITMAP picture = LoadSkinPicture(g_state.skinNames[i]);
    EXPECT_TRUE(picture) << "listed, but cannot be opened: " << g_state.skinNames[i];
    if (picture) DeleteObject(picture);
  }
}

TEST(EveryCodePage, AnExactNameHoldsNoWildcard) {
  // The file search never reports '*' or '?', but a name holding one would match other files.
  const struct {
    const wchar_t* name;
    const char* ansi;
    bool strictUtf8;  // under a Windows set to UTF-8 that checks the flags before CP_ACP
  } rows[] = {{L"Star", "Star", false},
              {L"Star*", "", false},
              {L"a?b", "", false},
              {L"Star", "Star", true}};
  for (const auto& row : rows) {
    std::unique_ptr<ImportPatch> acp, strict;
    if (row.strictUtf8) {
      acp.reset(new ImportPatch("KERNEL32.dll", "GetACP", reinterpret_cast<void*>(Utf8CodePage)));
      strict.reset(new ImportPatch("KERNEL32.dll", "WideCharToMultiByte",
                                   reinterpret_cast<void*>(StrictWideToAnsi)));
      ASSERT_TRUE(acp->slot && strict->slot);
      g_realWideToAnsi = strict->original;
    }
    char ansi[8] = "x";
    EXPECT_EQ(row.ansi[0] ? 1 : 0, ToExactAnsiName(row.name, ansi, sizeof ansi)) << row.name;
    EXPECT_STREQ(row.ansi, ansi);
  }
}

TEST(EveryCodePage, LinkFontIsTheJapaneseFace) {
  HFONT font = CreateLinkFont();
  LOGFONTW read = {};
  ASSERT_TRUE(GetObjectW(font, sizeof read, &read));
  EXPECT_EQ(std::wstring(L"ＭＳ Ｐゴシック"), read.lfFaceName);
  DeleteObject(font);
}
