// Fuzzes the install-directory paths: FormatPath never writes past its bound, returns 0 exactly
// when the result does not fit, and otherwise writes what unbounded formatting would; the cut
// after the last backslash and the plain-name check agree with a tokeniser of the same code page
// (Shift-JIS, Western, or lead bytes drawn from the input); and a plain skin name never takes a
// picture path out of the skin folder.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/paths.h"

namespace {

// Unbounded formatting: "%s" takes the next argument (none after the second), "%%" is '%'.
std::string ReferenceFormat(const std::string& pattern, const std::string& first,
                            const std::string& second) {
  std::string out;
  int argument = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
      out += argument == 0 ? first : argument == 1 ? second : "";
      ++argument;
      ++i;
    } else if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == '%') {
      out += '%';
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

// The lead bytes of this input's code page.
bool g_leadBytes[256];

int IsLeadByteOfInput(unsigned char byte) { return g_leadBytes[byte] ? 1 : 0; }

// Shift-JIS (932), Western (1252, no lead bytes), or a table drawn from the input.
void ChooseCodePage(FuzzedDataProvider& input) {
  int choice = input.ConsumeIntegralInRange<int>(0, 2);
  uint8_t drawn = 0;  // eight lead-byte flags at a time, for bytes 0x80 and up
  for (int byte = 0; byte < 256; ++byte) {
    if (choice == 0) {
      g_leadBytes[byte] = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    } else if (choice == 1 || byte < 0x80) {
      g_leadBytes[byte] = false;
    } else {
      if (byte % 8 == 0) drawn = input.ConsumeIntegral<uint8_t>();
      g_leadBytes[byte] = (drawn >> (byte % 8)) & 1;
    }
  }
}

// Splits a string into characters: a lead byte takes the next byte with it.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (size_t i = 0; i < text.size();) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    bool lead = g_leadBytes[byte];
    size_t length = lead && i + 1 < text.size() ? 2 : 1;
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

std::string ReferenceCut(const std::string& path) {
  std::string kept, sinceBackslash;
  for (const std::string& character : Characters(path)) {
    sinceBackslash += character;
    if (character == "\\") {
      kept += sinceBackslash;
      sinceBackslash.clear();
    }
  }
  return kept;
}

bool ReferencePlain(const std::string& name) {
  std::vector<std::string> characters = Characters(name);
  return std::none_of(characters.begin(), characters.end(), [](const std::string& character) {
    return character == "\\" || character == "/" || character == ":";
  });
}

std::string ConsumeText(FuzzedDataProvider& input, size_t most) {
  const char alphabet[] = "%s%%\\/:.ab\x95\x5C\x83\x81\xFC";
  size_t length = input.ConsumeIntegralInRange<size_t>(0, most);
  std::string text;
  for (size_t i = 0; i < length; ++i) {
    uint8_t pick = input.ConsumeIntegral<uint8_t>();
    char c = pick < 160 ? alphabet[pick % (sizeof alphabet - 1)] : static_cast<char>(pick);
    text += c ? c : 'z';
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  ChooseCodePage(input);
  std::string pattern = ConsumeText(input, 24);
  std::string first = ConsumeText(input, 280), second = ConsumeText(input, 120);
  size_t bound = input.ConsumeIntegralInRange<size_t>(0, 300);

  char* out = static_cast<char*>(malloc(bound ? bound : 1));
  int fits =
      FormatPath(bound ? out : out + 1, bound, pattern.c_str(), first.c_str(), second.c_str());
  std::string expected = ReferenceFormat(pattern, first, second);
  if (fits != (expected.size() + 1 <= bound ? 1 : 0)) abort();
  if (fits && expected != out) abort();
  if (!fits && bound && out[0] != 0) abort();  // never cut short
  free(out);

  std::vector<char> path(first.c_str(), first.c_str() + first.size() + 1);
  CutAfterLastBackslash(path.data(), IsLeadByteOfInput);
  if (ReferenceCut(first) != path.data()) abort();
  if (IsPlainFileName(second.c_str(), IsLeadByteOfInput) != (ReferencePlain(second) ? 1 : 0))
    abort();

  // A plain name formatted into the skin folder stays there: the path's folder is the skin folder.
  std::vector<std::string> dirCharacters = Characters(first + "\\");
  if (dirCharacters.back() == "\\" && IsPlainFileName(second.c_str(), IsLeadByteOfInput)) {
    std::string picture = ReferenceFormat("%sskin\\%s.bmp", first + "\\", second);
    if (ReferenceCut(picture) != first + "\\skin\\") abort();
  }
  return 0;
}
