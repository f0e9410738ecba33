// Switching skins: the running copy saves the choice and hands over to a fresh copy of itself.
// The accessory window's SwitchSkin runs the steps in order: SaveSkinChoice, its own stop, then
// StartNewCopy and the quit message, so that nothing here reaches back up into the window.
#pragma once
#include <windows.h>

// Saves catalogue entry index as the current skin. Returns 1 if it was saved and this copy should
// hand over to a new one; 0 if nothing changed: a vanished picture (reported, the menu rebuilt)
// or a failed save (reported, the previous skin kept).
int SaveSkinChoice(HWND window, int index);

// Starts Perchling.exe from the install directory, which reads the saved choice; reports a start
// that fails, so that the user knows to start it by hand.
void StartNewCopy();
