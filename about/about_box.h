// The About box: dialog 103, with the program's icon, its version and two home page links.
#pragma once
#include <windows.h>

// Shows the modal About box, owned by the accessory window.
void ShowAboutBox(HWND owner);
