// Fills the catalogue from the skin folder. A sub-folder whose name ends in .bmp is listed like a
// file: choosing it fails like a vanished picture would.
#include "skins/catalogue.h"

#include "base/program.h"

void ScanSkins() {
  g_state.skinCount = 0;
  char pattern[kPathSize];
  if (!MakeInstallPath(pattern, "%sskin\\*.bmp", "")) return;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    g_state.skinCount = AddSkinName(g_state.skinNames, g_state.skinCount, found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  SortSkinNames(g_state.skinNames, g_state.skinCount);
}
