// The skin switch. The new skin is not applied to the running window: the choice is saved and a
// new copy of the program starts with it, while this one leaves its message loop.
#include "skins/skin_switch.h"

#include "base/install_paths.h"
#include "base/message_box.h"
#include "base/settings.h"
#include "base/shell_files.h"
#include "res/texts.h"
#include "skins/context_menu.h"

// 1 if the skin's picture is there to be loaded by the new copy. A folder named like a picture
// (made since the last scan) is no picture: switching to it would save a skin that cannot load.
static int SkinPictureExists(const char* skinName) {
  char path[kPathSize];
  // Nothing found has every attribute bit set, the folder's among them.
  return MakeSkinPicturePath(path, skinName) && !(FindAttributes(path) & FILE_ATTRIBUTE_DIRECTORY);
}

// Says that setting.ini could not be written, naming the file and what the user can do about it.
static void ShowSaveFailed(HWND window) {
  char path[kPathSize];
  wchar_t widePath[kPathSize];
  if (!MakeInstallPath(path, kSettingsPathPattern, "") ||
      !MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, kPathSize))
    widePath[0] = 0;
  // Sized for the line, a path of at most kPathSize units, the advice and the three line ends:
  // the whole always fits (and stays within wsprintfW's 1024 units).
  wchar_t text[ARRAYSIZE(WIDE(TEXT_SAVE_FAILED)) + kPathSize +
               ARRAYSIZE(WIDE(TEXT_SAVE_FAILED_ADVICE)) + 3];
  static_assert(ARRAYSIZE(text) <= 1024, "wsprintfW writes at most 1024 units");
  wsprintfW(text, L"%s\n%s\n\n%s", WIDE(TEXT_SAVE_FAILED), widePath, WIDE(TEXT_SAVE_FAILED_ADVICE));
  ShowMessage(window, text);
}

int SaveSkinChoice(HWND window, int index) {
  if (!SkinPictureExists(g_state.skinNames[index])) {
    ShowMessage(window, WIDE(TEXT_SKIN_MISSING));
    ReloadContextMenu();
    return 0;
  }

  // The new copy reads the name from setting.ini, so an unsaved name is no switch at all.
  char previousSkin[kPathSize];
  lstrcpynA(previousSkin, g_state.currentSkin, kPathSize);
  lstrcpynA(g_state.currentSkin, g_state.skinNames[index], kPathSize);
  if (!SaveSettings()) {
    lstrcpynA(g_state.currentSkin, previousSkin, kPathSize);
    ShowSaveFailed(window);
    return 0;
  }
  return 1;
}

void StartNewCopy() {
  char program[kPathSize];
  if (!MakeInstallPath(program, kProgramPathPattern, "") ||
      !OpenWithShell(program, g_state.installDir))
    ShowMessage(NULL, WIDE(TEXT_RELAUNCH_FAILED));
}
