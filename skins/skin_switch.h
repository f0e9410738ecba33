// Switching skins: the running copy saves the choice and hands over to a fresh copy of itself.
#pragma once
#include <windows.h>

// Switches to catalogue entry index: saves it as the current skin, starts Perchling.exe again and
// ends this copy. A vanished picture or a failed save changes nothing and is reported.
void SwitchSkin(HWND window, int index);
