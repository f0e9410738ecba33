// The program's message box, titled "Perchling" like the window, so it never attracts the
// accessory. The text is wide, WIDE(TEXT_X): the program's own texts read the same under every
// code page.
#pragma once
#include <windows.h>

#include "res/texts.h"

// Shows the box with the buttons (OK unless told) and returns the answer.
inline int ShowMessage(HWND owner, const wchar_t* text, UINT buttons = MB_OK) {
  return MessageBoxW(owner, text, WIDE(TEXT_TITLE), buttons);
}
