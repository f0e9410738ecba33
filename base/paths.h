// Paths inside the install directory, and the checks on names that go into them.
// Plain C++ without Windows headers, so it is tested and fuzzed natively. Paths are in the system's
// ANSI code page: on a Japanese system (Shift-JIS) the second byte of a double-byte character can
// be 0x5C, the byte of a backslash, so every walk over a path steps over double-byte characters
// whole. Which bytes start one depends on the code page, so the caller says (IsDBCSLeadByte on
// Windows); a fixed table would cut a Western path such as "C:\Café\" at the wrong backslash.
#pragma once
#include <stddef.h>

enum { kPathSize = 260 };  // every path and title buffer, terminator included (MAX_PATH)

// What ends a folder's part of a path (never the second byte of a double-byte character).
#define PATH_SEPARATORS "\\/:"

// 1 if the byte starts a double-byte character in the code page the path is written in.
typedef int (*LeadByteTest)(unsigned char byte);

// Writes pattern into out, replacing the first "%s" by first and the second by second ("%%" is a
// percent sign). Returns 1 if the whole result and its terminator fit into size bytes. A result
// that does not fit is never cut short: out is left as an empty string and 0 is returned.
int FormatPath(char* out, size_t size, const char* pattern, const char* first, const char* second);

// Cuts a module path after its last backslash, in place, leaving the directory with its final
// backslash: "C:\Tools\Perchling.exe" becomes "C:\Tools\". A path without a backslash becomes "".
void CutAfterLastBackslash(char* path, LeadByteTest isLeadByte);

// 1 if the name can only name a file directly inside one folder: it holds no '\', '/' or ':'
// outside double-byte characters. Names such as "..\x" or "C:x" would leave the folder.
int IsPlainFileName(const char* name, LeadByteTest isLeadByte);
