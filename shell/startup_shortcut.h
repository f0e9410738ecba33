// Registration in the user's Startup folder by a shortcut to the program.
#pragma once
#include <windows.h>

// The Startup command: writes Perchling.lnk into the Startup folder, asking before replacing one.
void RegisterStartup(HWND window);
