// The install directory, its checks at start, and the paths formed in it.
#include "base/install_paths.h"

#include <string.h>
#include <wchar.h>

// Paths arrive in the system's ANSI code page, which is Shift-JIS only on a Japanese system: on a
// Western one (1252) 0xE9 is "é", not the first half of a character that swallows the next byte.
static int IsAnsiLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) ? 1 : 0;
}

int IsModulePathShortEnough() {
  // A path of kPathSize units or more takes at least as many bytes in any code page.
  wchar_t wide[kPathSize] = L"";
  DWORD length = GetModuleFileNameW(NULL, wide, kPathSize);
  if (length == 0 || length >= kPathSize) return 0;
  const wchar_t* lastBackslash = wcsrchr(wide, L'\\');
  int folderUnits = lastBackslash ? int(lastBackslash - wide) + 1 : 0;
  // Byte counts as the ANSI functions would write them; a character the code page lacks takes the
  // default character's byte, as it does for GetModuleFileNameA.
  int pathBytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, NULL, 0, NULL, NULL);
  int folderBytes =
      folderUnits ? WideCharToMultiByte(CP_ACP, 0, wide, folderUnits, NULL, 0, NULL, NULL) : 0;
  char longest[kPathSize];  // the default picture's name in the folder
  if (pathBytes <= 0 || (folderUnits && folderBytes <= 0) ||
      !FormatPath(longest, sizeof longest, SKIN_FILE_PATTERN SKIN_EXTENSION, "", kDefaultSkin))
    return 0;
  return pathBytes <= kPathSize && folderBytes + int(strlen(longest)) + 1 <= kPathSize;
}

int IsModulePathExpressible() {
  char ansi[kPathSize];
  wchar_t wide[kPathSize];
  wchar_t readBack[kPathSize];
  DWORD ansiLength = GetModuleFileNameA(NULL, ansi, kPathSize);
  DWORD wideLength = GetModuleFileNameW(NULL, wide, kPathSize);
  // A path too long for the buffers is not judged here: start-up refuses it before.
  if (ansiLength == 0 || ansiLength >= kPathSize || wideLength == 0 || wideLength >= kPathSize)
    return 1;
  if (!MultiByteToWideChar(CP_ACP, 0, ansi, -1, readBack, kPathSize)) return 0;
  // Compared unit by unit: lstrcmpW follows the locale's rules and could call two paths equal.
  return wcscmp(readBack, wide) == 0 ? 1 : 0;
}

void DeriveInstallDir(char* path) {
  // Cutting after the last backslash works for long and short (8.3) names alike; a path that
  // GetModuleFileNameA had to cut short names no real folder, so it is not used at all.
  DWORD length = GetModuleFileNameA(NULL, path, kPathSize);
  if (length == 0 || length >= kPathSize) {
    path[0] = 0;
    return;
  }
  CutAfterLastBackslash(path, IsAnsiLeadByte);
}

int MakeInstallPath(char* out, const char* pattern, const char* name) {
  if (!g_state.installDir[0]) {
    out[0] = 0;
    return 0;
  }
  return FormatPath(out, kPathSize, pattern, g_state.installDir, name);
}

int MakeSkinPicturePath(char* out, const char* skinName) {
  if (!IsPlainFileName(skinName, IsAnsiLeadByte)) {
    out[0] = 0;
    return 0;
  }
  return MakeInstallPath(out, SKIN_FILE_PATTERN SKIN_EXTENSION, skinName);
}

HBITMAP LoadSkinPicture(const char* skinName) {
  char path[kPathSize];
  if (!MakeSkinPicturePath(path, skinName)) return NULL;
  return static_cast<HBITMAP>(LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}
