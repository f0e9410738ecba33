// Finding the kit's Perchling and skin folder, and naming skins in it.
#include "skinkit/kit_paths.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "base/ansi_names.h"
#include "base/skin_names.h"
#include "skinkit/kit_decisions.h"
#include "skinkit/skin_limits.h"

// The skin-file facts in the kit's UTF-16.
static const wchar_t kSkinExtension[] = L"" SKIN_EXTENSION;
static const wchar_t kSkinFolder[] = L"" SKIN_FOLDER;
static const wchar_t kProgramFileName[] = L"" PROGRAM_FILE_NAME;
static const wchar_t kWildcards[] = L"" SEARCH_WILDCARDS;

// The name as Perchling finds it, in the system's ANSI code page, by the catalogue's own test.
// Returns 1 if it names exactly this file apart from any wildcard it holds, which the report
// names as such; 0 if the code page cannot hold it (out then has the lossy spelling, whose length
// and extension still count).
static int ToCheckedAnsiName(const wchar_t* name, char* out, int size) {
  if (ToExactAnsiName(name, out, size)) return 1;
  size_t length = wcslen(name);
  int exact = 0;
  if (length < kKitPathSize) {
    wchar_t tame[kKitPathSize];
    for (size_t i = 0; i <= length; ++i)
      tame[i] = name[i] && wcschr(kWildcards, name[i]) ? L'_' : name[i];
    exact = ToExactAnsiName(tame, out, size);
  }
  // The wildcards are the same single bytes in every ANSI code page, so this spelling is exact
  // but for them.
  if (!WideCharToMultiByte(CP_ACP, 0, name, -1, out, size, NULL, NULL)) out[0] = 0;
  return exact;
}

void CheckFileNameOf(const wchar_t* path, SkinNameFacts* facts) {
  char ansiName[kKitPathSize * 4];
  int representable = ToCheckedAnsiName(FileNamePart(path), ansiName, sizeof ansiName);
  CheckSkinFileName(ansiName, representable, facts);
  facts->device = IsDeviceName(FileNamePart(path));
}

int IsBmpName(const wchar_t* path) {
  size_t length = wcslen(path);
  return length >= kSkinExtensionLength &&
         lstrcmpiW(path + length - kSkinExtensionLength, kSkinExtension) == 0;
}

int JoinSkinPath(const wchar_t* folder, size_t folderLength, const wchar_t* name, size_t nameLength,
                 wchar_t* out, size_t size) {
  if (folderLength + nameLength + kSkinExtensionLength + 1 > size) return 0;
  wmemcpy(out, folder, folderLength);
  wmemcpy(out + folderLength, name, nameLength);
  wmemcpy(out + folderLength + nameLength, kSkinExtension, kSkinExtensionLength + 1);
  return 1;
}

int FindSkinFolder(wchar_t* folder, size_t size) {
  folder[0] = 0;
  wchar_t own[kKitPathSize] = L"", beside[kKitPathSize];
  DWORD length = GetModuleFileNameW(NULL, own, kKitPathSize);
  if (length == 0 || length >= kKitPathSize) return 0;
  int ownFolder = int(FileNamePart(own) - own);
  int made = _snwprintf(beside, kKitPathSize, L"%.*ls%ls", ownFolder, own, kProgramFileName);
  if (made < 0 || made >= kKitPathSize) return 0;
  DWORD program = GetFileAttributesW(beside);
  made = _snwprintf(beside, kKitPathSize, L"%.*ls%ls", ownFolder, own, kSkinFolder);
  if (made < 0 || size_t(made) >= size) return 0;
  DWORD skins = GetFileAttributesW(beside);
  if (program == INVALID_FILE_ATTRIBUTES || (program & FILE_ATTRIBUTE_DIRECTORY) ||
      skins == INVALID_FILE_ATTRIBUTES || !(skins & FILE_ATTRIBUTE_DIRECTORY))
    return 0;
  wmemcpy(folder, beside, size_t(made) + 1);
  return 1;
}

int IsListedInMenu(const wchar_t* skinFolder, const wchar_t* path) {
  SkinName names[kMaxSkins];
  char own[kKitPathSize * 4];
  wchar_t pattern[kKitPathSize];
  // A name the catalogue takes in no case is not this question's: its own finding says why.
  if (!ToExactAnsiName(FileNamePart(path), own, sizeof own) || !AddSkinName(names, 0, own))
    return 1;
  // The system's _snwprintf gives -1 for a pattern that does not fit, and leaves it unended.
  int made = _snwprintf(pattern, kKitPathSize, L"%ls*%ls", skinFolder, kSkinExtension);
  if (made < 0 || made >= kKitPathSize) return 0;
  int count = 1;
  // The catalogue's own search: what it finds, spelled exactly, whose path Perchling can open.
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      char name[kKitPathSize * 4];
      wchar_t counted[kKitPathSize];
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDeviceName(found.cFileName) &&
          ToExactAnsiName(found.cFileName, name, sizeof name) &&
          SkinPathBytes(skinFolder, found.cFileName, counted) <= size_t(kMaxSkinPathBytes) &&
          lstrcmpiW(found.cFileName, FileNamePart(path)) != 0)
        count = AddSkinName(names, count, name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  StripExtension(own);
  for (int i = 0; i < count; ++i) {
    if (strcmp(names[i], own) == 0) return 1;
  }
  return 0;
}

size_t SkinPathBytes(const wchar_t* skinFolder, const wchar_t* path, wchar_t* counted) {
  int made = _snwprintf(counted, kKitPathSize, L"%ls%ls", skinFolder, FileNamePart(path));
  if (made < 0 || made >= kKitPathSize) {
    lstrcpynW(counted, path, kKitPathSize);
    return size_t(kKitPathSize);
  }
  wchar_t full[kKitPathSize];
  DWORD length = GetFullPathNameW(counted, kKitPathSize, full, NULL);
  if (length == 0 || length >= kKitPathSize) return size_t(kKitPathSize);
  int bytes = WideCharToMultiByte(CP_ACP, 0, full, -1, NULL, 0, NULL, NULL);
  return bytes > 0 ? size_t(bytes - 1) : size_t(kKitPathSize);
}
