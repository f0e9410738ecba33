// The life of the process in three steps, set up, run, clean up: the window class and the
// accessory window, the message loop, then the window and the class again in reverse order. What
// start-up reads (install directory, setting.ini) comes from the program module below it. A start
// that cannot make its class or window says so and ends at once, rather than wait with nothing to
// close.
#pragma once
#include <windows.h>

enum {
  kFailedExitCode = 1,  // the accessory could not start, or the message loop itself failed
};

// The whole life of the process: start-up, the message loop, clean-up. Returns the exit code: the
// quit message's, or kFailedExitCode if the accessory could not start.
int RunPerchling(HINSTANCE instance, int showCommand);

// Start-up up to the message loop: install directory, then OpenAccessory(). Returns the window,
// or NULL if it could not start. An install folder the ANSI code page cannot name is refused
// first, with a message box and nothing read or written.
HWND StartAccessory(HINSTANCE instance, int showCommand);

// With instance and install directory known: settings, class, then the accessory window with its
// context menu. If the class or the window cannot be made, says so in a message box, writes
// nothing, leaves no class behind and returns NULL.
HWND OpenAccessory(int showCommand);

// Clean-up, the mirror of OpenAccessory once the message loop has ended: the accessory window with
// its menu (if still there), then the class with its brush and picture.
void CloseAccessory(HWND window);

// Runs the message loop until the quit message; returns its exit code, or kFailedExitCode if
// GetMessageA fails.
int RunMessageLoop();
