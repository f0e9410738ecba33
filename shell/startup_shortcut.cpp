// Startup-folder registration. Start reading at RegisterStartup().
#include "shell/startup_shortcut.h"

#include <shlobj.h>

#include "base/install_paths.h"
#include "base/message_box.h"
#include "res/texts.h"

int GetSpecialFolderPath(HWND owner, int folder, char* path) {
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

// 1 if a file search finds the path (a folder of that name counts too).
static int FileOrFolderExists(const char* path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  FindClose(search);
  return 1;
}

int IsStartupRegistered(HWND owner) {
  char shortcut[kPathSize];
  return MakeStartupShortcutPath(owner, shortcut) && FileOrFolderExists(shortcut);
}

// Sets the description through the link's wide interface: the ANSI one would store the text as
// the system's code page garbles it.
static void SetWideDescription(IShellLinkA* link, const wchar_t* description) {
  IShellLinkW* wideLink = NULL;
  if (FAILED(link->QueryInterface(IID_IShellLinkW, reinterpret_cast<void**>(&wideLink)))) return;
  wideLink->SetDescription(description);
  wideLink->Release();
}

// Sets the link's properties and saves it; the setters' results are not examined, Save's is.
static int SaveShortcut(IShellLinkA* link, IPersistFile* file, const char* shortcutPath,
                        const char* targetPath, const wchar_t* description, const char* arguments,
                        const char* workingDir, const char* iconPath, int iconIndex,
                        int showCommand) {
  link->SetPath(targetPath);
  SetWideDescription(link, description);
  link->SetArguments(arguments);
  link->SetWorkingDirectory(workingDir);
  link->SetIconLocation(iconPath, iconIndex);
  link->SetShowCmd(showCommand);
  wchar_t widePath[kPathSize];
  if (!MultiByteToWideChar(CP_ACP, 0, shortcutPath, -1, widePath, kPathSize)) return 0;
  return SUCCEEDED(file->Save(widePath, TRUE)) ? 1 : 0;
}

int CreateShortcut(const char* shortcutPath, const char* targetPath, const wchar_t* description,
                   const char* arguments, const char* workingDir, const char* iconPath,
                   int iconIndex, int showCommand) {
  IShellLinkA* link = NULL;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return 0;
  }
  IPersistFile* file = NULL;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    link->Release();
    return 0;
  }
  int saved = SaveShortcut(link, file, shortcutPath, targetPath, description, arguments, workingDir,
                           iconPath, iconIndex, showCommand);
  file->Release();
  link->Release();
  return saved;
}

// Creates the shortcut between CoInitialize and CoUninitialize. CoInitialize fails with
// RPC_E_CHANGED_MODE on a thread already in the multithreaded apartment; only a successful
// call (S_OK, or S_FALSE when already initialised) is balanced by CoUninitialize.
static int CreateStartupShortcut(const char* shortcutPath, const char* targetPath) {
  HRESULT initialised = CoInitialize(NULL);
  if (FAILED(initialised)) return 0;
  int created = CreateShortcut(shortcutPath, targetPath, WIDE(TEXT_SHORTCUT_DESCRIPTION),
                               STARTUP_ARGUMENTS, NULL, NULL, 0, SW_SHOWNORMAL);
  CoUninitialize();
  return created;
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
  if (FileOrFolderExists(shortcut) &&
      ShowMessage(window, WIDE(TEXT_ALREADY_REGISTERED), MB_YESNO) == IDNO) {
    return;
  }
  ShowMessage(window, CreateStartupShortcut(shortcut, target) ? WIDE(TEXT_REGISTERED)
                                                              : WIDE(TEXT_REGISTRATION_FAILED));
}
