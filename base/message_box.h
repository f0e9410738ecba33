// The message box, titled "Perchling" like the window (so it never attracts it), with the buttons
// (OK unless told); returns the answer. The text is wide, WIDE(TEXT_X): it reads the same under
// every code page.
#pragma once
#include <windows.h>

#include "res/texts.h"

inline int ShowMessage(HWND owner, const wchar_t* text, UINT buttons = MB_OK) {
  return MessageBoxW(owner, text, WIDE(TEXT_TITLE), buttons);
}
