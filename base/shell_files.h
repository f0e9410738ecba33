// Two platform calls the subsystems share: what a file search finds at a path, and opening a file
// or URL with the shell.
#pragma once
#include <windows.h>  // with shellapi.h

const INT_PTR kShellExecuteFailed = 32;  // ShellExecuteA's results up to this one are errors

// What a file search finds at path (a folder counts too): its attributes, else every bit set.
inline DWORD FindAttributes(const char* path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return INVALID_FILE_ATTRIBUTES;
  FindClose(search);
  return found.dwFileAttributes;
}

// Opens a file or URL with the shell's "open" verb, shown normally; 1 if the shell started it.
inline int OpenWithShell(const char* target, const char* workingDir) {
  HINSTANCE result = ShellExecuteA(NULL, "open", target, NULL, workingDir, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > kShellExecuteFailed;
}
