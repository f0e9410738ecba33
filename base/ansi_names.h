// Names as the ANSI functions spell them. A wide file name has an ANSI spelling that names exactly
// that file only when it converts without a default character and without a look-alike: the ANSI
// functions turn '＊' into '*', 'Ａ' into 'A' and, on a Japanese system, 'é' into 'e', and such a
// spelling names another file, or a wildcard. Both programs (the catalogue, the kit's name check)
// ask this one function.
#pragma once
#include <windows.h>

// Writes the ANSI spelling of wideName into ansi (size bytes) and returns 1 when it names exactly
// that file: it converts to the system's ANSI code page without a default character or best fit,
// reads back as wideName unit by unit, fits with its terminator, and holds neither '*' nor '?'.
// Otherwise ansi is left as "" and 0 is returned.
int ToExactAnsiName(const wchar_t* wideName, char* ansi, int size);
