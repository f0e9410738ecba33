// Perchling: a desktop accessory that perches on the foreground window's title bar.
// Start reading at RunPerchling() in process.cpp, then AccessoryWndProc() in accessory.cpp.
#include <windows.h>

#include "app/process.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // The command line is not read: the Startup shortcut's "/s" changes nothing.
  return RunPerchling(instance, showCommand);
}
