// The one test of whether an ANSI spelling names exactly its file.
#include "base/ansi_names.h"

#include "base/paths.h"
#include "base/skin_names.h"

#include <string.h>
#include <wchar.h>

int ToExactAnsiName(const wchar_t* wideName, char* ansi, int size) {
  if (size <= 0) return 0;
  ansi[0] = 0;
  // A code page is asked not to substitute look-alikes and to say when it put a default. UTF-8
  // holds every character and takes neither; it allows only WC_ERR_INVALID_CHARS, and only under
  // its own number: a Windows that checks the flags before it resolves CP_ACP refuses the flag
  // with CP_ACP. So each call names the code page itself.
  UINT codePage = GetACP();
  BOOL usedDefault = FALSE;
  int converted =
      codePage == CP_UTF8
          ? WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wideName, -1, ansi, size, NULL, NULL)
          : WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wideName, -1, ansi, size, NULL,
                                &usedDefault);
  int exact = converted > 0 && !usedDefault && strpbrk(ansi, SEARCH_WILDCARDS) == NULL;
  if (exact) {
    // The read-back catches what the flags cannot: a code page whose round trip is not the
    // identity for this name. Compared unit by unit, never by the locale's rules. A file name has
    // at most 255 units, so a longer one is no file's name.
    wchar_t back[kPathSize];
    size_t units = wcslen(wideName) + 1;
    exact = units <= kPathSize &&
            MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, ansi, -1, back, kPathSize) ==
                int(units) &&
            wmemcmp(back, wideName, units) == 0;
  }
  if (!exact) ansi[0] = 0;
  return exact;
}
