// Test pictures in Win32 terms: the portable pictures and their .bmp bytes
// (tests/pictures/pictures.h) as bitmaps in memory, and the shape the accessory must cut from
// them (every pixel that is not magenta).
#pragma once
#include <windows.h>

#include "tests/pictures/pictures.h"

// A DIB section of the picture in the given uncompressed format; NULL if its colours do not fit
// the format's palette. The caller deletes it.
HBITMAP MakeDib(const Picture& picture, const BmpFormat& format);
// A device-dependent bitmap of the picture, the kind LoadImageA gives the program.
HBITMAP MakeDdb(const Picture& picture);

// The union of the picture's non-magenta pixels, built pixel by pixel. The caller deletes it.
HRGN ExpectedShape(const Picture& picture);
