// Bounded path formatting and install-directory derivation, aware of double-byte characters.
#include "base/paths.h"

#include <string.h>

// Appends text at out[*used], keeping room for the terminator. Returns 0 when it does not fit.
static int AppendPart(char* out, size_t size, size_t* used, const char* text) {
  for (; *text; ++text) {
    if (*used + 1 >= size) return 0;
    out[(*used)++] = *text;
  }
  return 1;
}

int FormatPath(char* out, size_t size, const char* pattern, const char* first, const char* second) {
  if (size == 0) return 0;
  const char* arguments[2] = {first ? first : "", second ? second : ""};
  int argumentIndex = 0;
  size_t used = 0;
  int fits = 1;
  for (const char* p = pattern; *p && fits; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      fits = AppendPart(out, size, &used, argumentIndex < 2 ? arguments[argumentIndex] : "");
      ++argumentIndex;
      ++p;
    } else if (p[0] == '%' && p[1] == '%') {
      fits = AppendPart(out, size, &used, "%");
      ++p;
    } else {
      char single[2] = {*p, 0};
      fits = AppendPart(out, size, &used, single);
    }
  }
  out[fits ? used : 0] = 0;
  return fits;
}

void CutAfterLastBackslash(char* path, LeadByteTest isLeadByte) {
  size_t cut = 0;  // position just after the last real backslash
  for (size_t i = 0; path[i];) {
    unsigned char byte = static_cast<unsigned char>(path[i]);
    if (isLeadByte(byte) && path[i + 1]) {
      i += 2;
      continue;
    }
    ++i;
    if (byte == '\\') cut = i;
  }
  path[cut] = 0;
}

int IsPlainFileName(const char* name, LeadByteTest isLeadByte) {
  for (size_t i = 0; name[i];) {
    unsigned char byte = static_cast<unsigned char>(name[i]);
    if (isLeadByte(byte) && name[i + 1]) {
      i += 2;
      continue;
    }
    if (strchr(PATH_SEPARATORS, byte)) return 0;
    ++i;
  }
  return 1;
}
