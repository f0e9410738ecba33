// setting.ini: the current skin's name, read at start and written at the end.
#include "base/settings.h"

#include "base/install_paths.h"

void LoadSettings() {
  char path[kPathSize];
  g_state.settingTooLong = 0;
  lstrcpynA(g_state.currentSkin, kDefaultSkin, kPathSize);
  if (!MakeInstallPath(path, kSettingsPathPattern, "")) return;
  // Read with one byte to spare: a value that fills it did not fit currentSkin. The profile
  // functions cut such a value without a word, and teardown would then write the cut name back
  // over the user's setting; instead the file is left as it is.
  char value[kPathSize + 1];
  DWORD length = GetPrivateProfileStringA(SETTINGS_SECTION, SETTINGS_KEY, kDefaultSkin, value,
                                          sizeof value, path);
  g_state.settingTooLong = length >= kPathSize;
  lstrcpynA(g_state.currentSkin, value, kPathSize);
}

int SaveSettings() {
  char path[kPathSize];
  if (!MakeInstallPath(path, kSettingsPathPattern, "")) return 0;
  return WritePrivateProfileStringA(SETTINGS_SECTION, SETTINGS_KEY, g_state.currentSkin, path) ? 1
                                                                                                : 0;
}
