// The life of the process: the checks of the install folder, then set up, run, clean up. Each
// level has its own pair of verbs: the process runs (RunPerchling); the accessory, its class and
// window together, is set up and cleaned up (SetUpAccessory, CleanUpAccessory); the window is
// opened and closed (accessory.h); its context menu is created and destroyed (context_menu.h).
// A start that cannot make its class or window says so and ends at once, rather than wait with
// nothing to close.
#pragma once
#include <windows.h>

enum {
  kFailedExitCode = 1,  // the accessory could not start, or the message loop itself failed
};

// The whole life of the process: refuses an install folder whose path is too long for the ANSI
// buffers or that the code page cannot name (a message box, nothing read or written), then sets
// up the accessory, runs the message loop and cleans up. Returns the exit code: the quit
// message's, or kFailedExitCode if the accessory could not start.
int RunPerchling(HINSTANCE instance, int showCommand);

// With instance and install directory known: settings, class, then the accessory window with its
// context menu. If the class or the window cannot be made, says so in a message box, writes
// nothing, leaves no class behind and returns NULL.
HWND SetUpAccessory(int showCommand);

// The mirror of SetUpAccessory once the message loop has ended: the accessory window with its menu
// (if still there), then the class with its brush and picture.
void CleanUpAccessory(HWND window);

// Runs the message loop until the quit message; returns its exit code, or kFailedExitCode if
// GetMessageA fails.
int RunMessageLoop();
