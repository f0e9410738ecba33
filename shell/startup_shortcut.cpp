// Startup-folder registration. Start reading at RegisterStartup().
#include "shell/startup_shortcut.h"

#include <shlobj.h>

#include "base/install_paths.h"
#include "base/message_box.h"
#include "base/shell_files.h"
#include "res/texts.h"

// Fills path (kPathSize bytes) with the special folder's path (a CSIDL_ value). Returns 1 on
// success, 0 if the folder or its path cannot be had.
static int GetSpecialFolderPath(HWND owner, int folder, char* path) {
  IMalloc* allocator = NULL;
  if (SHGetMalloc(&allocator) != S_OK) return 0;
  LPITEMIDLIST list = NULL;
  if (SHGetSpecialFolderLocation(owner, folder, &list) != S_OK) {
    allocator->Release();
    return 0;
  }
  // The buffer holds MAX_PATH characters, the most SHGetPathFromIDListA ever writes.
  BOOL converted = SHGetPathFromIDListA(list, path);
  allocator->Free(list);
  allocator->Release();
  return converted ? 1 : 0;
}

int MakeStartupShortcutPath(HWND owner, char* path) {
  char folder[kPathSize];
  if (!GetSpecialFolderPath(owner, CSIDL_STARTUP, folder)) {
    path[0] = 0;
    return 0;
  }
  return FormatPath(path, kPathSize, STARTUP_SHORTCUT_PATTERN, folder, NULL);
}

int IsStartupRegistered(HWND owner) {
  char shortcut[kPathSize];
  return MakeStartupShortcutPath(owner, shortcut) &&
         FindAttributes(shortcut) != INVALID_FILE_ATTRIBUTES;
}

// Sets the link's properties and saves it; the setters' results are not examined, Save's is. The
// description goes through the link's wide interface: the ANSI one would store it garbled by the
// system's code page.
static int SaveShortcut(IShellLinkA* link, IPersistFile* file, const char* shortcutPath,
                        const char* targetPath) {
  link->SetPath(targetPath);
  IShellLinkW* wideLink = NULL;
  if (SUCCEEDED(link->QueryInterface(IID_IShellLinkW, reinterpret_cast<void**>(&wideLink)))) {
    wideLink->SetDescription(WIDE(TEXT_SHORTCUT_DESCRIPTION));
    wideLink->Release();
  }
  link->SetArguments(STARTUP_ARGUMENTS);
  link->SetWorkingDirectory(NULL);
  link->SetIconLocation(NULL, 0);
  link->SetShowCmd(SW_SHOWNORMAL);
  wchar_t widePath[kPathSize];
  if (!MultiByteToWideChar(CP_ACP, 0, shortcutPath, -1, widePath, kPathSize)) return 0;
  return SUCCEEDED(file->Save(widePath, TRUE)) ? 1 : 0;
}

// Writes the shortcut to target at shortcutPath through the Shell Link object; 1 if it was created
// and saved. CoInitialize fails with RPC_E_CHANGED_MODE on a thread already in the multithreaded
// apartment; only a successful call (S_OK, or S_FALSE when already initialised) is balanced.
static int CreateStartupShortcut(const char* shortcutPath, const char* targetPath) {
  if (FAILED(CoInitialize(NULL))) return 0;
  int saved = 0;
  IShellLinkA* link = NULL;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = NULL;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      saved = SaveShortcut(link, file, shortcutPath, targetPath);
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return saved;
}

void RegisterStartup(HWND window) {
  char target[kPathSize];
  char shortcut[kPathSize];
  if (!MakeInstallPath(target, kProgramPathPattern, NULL) ||
      !MakeStartupShortcutPath(window, shortcut)) {
    ShowMessage(window, WIDE(TEXT_REGISTRATION_FAILED));
    return;
  }
  // The old shortcut is not deleted on Yes: saving the new one replaces it, so a registration
  // that fails leaves the old one in place.
  if (FindAttributes(shortcut) != INVALID_FILE_ATTRIBUTES &&
      ShowMessage(window, WIDE(TEXT_ALREADY_REGISTERED), MB_YESNO) == IDNO) {
    return;
  }
  ShowMessage(window, CreateStartupShortcut(shortcut, target) ? WIDE(TEXT_REGISTERED)
                                                              : WIDE(TEXT_REGISTRATION_FAILED));
}
