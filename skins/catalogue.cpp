// Fills the catalogue from the skin folder. Only pictures that can be opened as skin\NAME.bmp are
// listed: no folder, no device, no name the ANSI functions cannot spell exactly.
#include "skins/catalogue.h"

#include "base/ansi_names.h"
#include "base/install_paths.h"

void ScanSkins() {
  g_state.skinCount = 0;
  char pattern[kPathSize];
  if (!MakeInstallPath(pattern, SKIN_FILE_PATTERN, "*" SKIN_EXTENSION)) return;
  // The folder is searched wide: the ANSI search reports a name the code page cannot write as a
  // look-alike ("Star＊" as "Star*", "ＡＢＣ" as "ABC"), which names another file or a wildcard.
  // The install directory names exactly its folder (start-up refuses one that does not), so the
  // pattern's wide form is the folder's own.
  wchar_t widePattern[kPathSize];
  if (!MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pattern, -1, widePattern, kPathSize))
    return;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(widePattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    // A picture whose path does not fit a path buffer could be listed but never opened: choosing
    // it would report it missing, and the rescan would list it again. So could a folder, which
    // the search reports like a file when its name (or its short name) matches, and a device,
    // which answers for every folder.
    char name[kPathSize];
    char picture[kPathSize];
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDeviceName(found.cFileName) &&
        ToExactAnsiName(found.cFileName, name, sizeof name) &&
        MakeInstallPath(picture, SKIN_FILE_PATTERN, name))
      g_state.skinCount = AddSkinName(g_state.skinNames, g_state.skinCount, name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  SortSkinNames(g_state.skinNames, g_state.skinCount);
}
