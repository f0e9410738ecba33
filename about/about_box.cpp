// The About box. (Still to come: the dialog itself.)
#include "about/about_box.h"

void ShowAboutBox(HWND) {}
