// Startup-folder registration. (Still to come: the shortcut itself.)
#include "shell/startup_shortcut.h"

void RegisterStartup(HWND) {}
