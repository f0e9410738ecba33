// Cutting, comparing and sorting skin names.
#include "base/skin_names.h"

#include <string.h>
#include <wchar.h>

#include "base/paths.h"

void StripExtension(char* name) {
  for (size_t i = strlen(name); i > 0; --i) {
    if (name[i] == '.') {
      name[i] = 0;
      return;
    }
  }
}

static unsigned char FoldAsciiCapital(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

int CompareNoCase(const char* a, const char* b) {
  for (size_t i = 0;; ++i) {
    unsigned char left = FoldAsciiCapital(static_cast<unsigned char>(a[i]));
    unsigned char right = FoldAsciiCapital(static_cast<unsigned char>(b[i]));
    if (left != right) return left < right ? -1 : 1;
    if (left == 0) return 0;
  }
}

// The devices' names in small letters, and the numbers a COM or LPT port takes.
static const wchar_t* const kDevices[] = {L"con", L"prn", L"aux", L"nul", L"conin$", L"conout$"};
static const wchar_t kPortNumbers[] = L"123456789\u00B9\u00B2\u00B3";

int IsDeviceName(const wchar_t* fileName) {
  // Windows takes the part before the first dot, spaces at its end ignored, in any case.
  size_t stem = wcscspn(fileName, L".");
  while (stem > 0 && fileName[stem - 1] == L' ') --stem;
  wchar_t folded[8] = {};
  if (stem < 3 || stem >= sizeof folded / sizeof folded[0]) return 0;
  for (size_t i = 0; i < stem; ++i)
    folded[i] = fileName[i] >= L'A' && fileName[i] <= L'Z' ? fileName[i] | 0x20 : fileName[i];
  for (const wchar_t* device : kDevices)
    if (wcscmp(folded, device) == 0) return 1;
  // COM and LPT with a digit 1-9, or a superscript 1, 2 or 3.
  return stem == 4 && (wcsncmp(folded, L"com", 3) == 0 || wcsncmp(folded, L"lpt", 3) == 0) &&
         wcschr(kPortNumbers, folded[3]) != NULL;
}

int HasSkinExtension(const char* fileName) {
  size_t length = strlen(fileName);
  if (length < kSkinExtensionLength) return 0;
  for (size_t i = 0; i < kSkinExtensionLength; ++i) {
    unsigned char byte = static_cast<unsigned char>(fileName[length - kSkinExtensionLength + i]);
    if (FoldAsciiCapital(byte) != SKIN_EXTENSION[i]) return 0;
  }
  return 1;
}

int IsSkinFileName(const char* fileName) {
  // ".bmp" alone keeps its dot as the name's first character, so nothing is left before it.
  return strlen(fileName) > kSkinExtensionLength && HasSkinExtension(fileName);
}

static void ExchangeNames(char* a, char* b) {
  SkinName work;
  memcpy(work, a, kSkinNameSize);
  memcpy(a, b, kSkinNameSize);
  memcpy(b, work, kSkinNameSize);
}

void SortSkinNames(SkinName* names, int count) {
  for (int i = 0; i < count; ++i) {
    for (int j = i + 1; j < count; ++j) {
      if (CompareNoCase(names[i], names[j]) > 0) ExchangeNames(names[i], names[j]);
    }
  }
}

int AddSkinName(SkinName* names, int count, const char* fileName) {
  if (!IsSkinFileName(fileName)) return count;
  size_t length = strlen(fileName);
  char work[kPathSize];
  if (length >= sizeof work) return count;
  memcpy(work, fileName, length + 1);
  StripExtension(work);
  length = strlen(work);
  if (length >= kSkinNameSize) return count;
  // The ANSI file search puts '?' for each character the code page lacks ("ソラ" is "??" under
  // 1252). No trail byte of a double-byte character is '?', so the byte itself is one.
  if (strchr(work, '?')) return count;

  int slot = count;
  if (count == kMaxSkins) {
    // Full: the new name replaces the name that sorts last, if it sorts before it.
    slot = 0;
    for (int i = 1; i < count; ++i) {
      if (CompareNoCase(names[i], names[slot]) > 0) slot = i;
    }
    if (CompareNoCase(work, names[slot]) >= 0) return count;
  } else {
    ++count;
  }
  memcpy(names[slot], work, length + 1);
  return count;
}

int MakeMenuText(const char* name, char* out, size_t size) {
  if (size == 0) return 0;
  // '&' (0x26) is never the second byte of a double-byte character in any ANSI code page, so the
  // bytes can be taken one by one.
  size_t used = 0;
  for (const char* p = name; *p; ++p) {
    size_t needed = *p == '&' ? 2 : 1;
    if (used + needed >= size) {
      out[0] = 0;
      return 0;
    }
    out[used++] = *p;
    if (*p == '&') out[used++] = '&';
  }
  out[used] = 0;
  return 1;
}
