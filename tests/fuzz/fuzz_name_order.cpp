// Fuzzes the skin-name order: CompareNoCase against a plain reference (fold 'A'-'Z', compare
// unsigned bytes), its antisymmetry and transitivity on triples, and SortSkinNames, whose result
// must be ordered and a permutation of its input.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/skin_names.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

std::string Folded(const std::string& text) {
  std::string folded = text;
  std::transform(text.begin(), text.end(), folded.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return folded;
}

int ReferenceCompare(const std::string& a, const std::string& b) {
  std::string fa = Folded(a), fb = Folded(b);
  // std::string compares char_traits<char>, which compares as unsigned char.
  return Sign(fa.compare(fb));
}

// A name of at most 99 bytes without a zero byte, drawn mostly from bytes that stress the fold:
// capitals, their lower-case twins, the six punctuation bytes between them, Shift-JIS lead bytes.
std::string ConsumeName(FuzzedDataProvider& input) {
  const char alphabet[] = "AaZz[\\]^_`@{\x81\x83\x95\x9F\xE0\xFC\x40\x41\x61\x7E\x80\xFF.";
  size_t length = input.ConsumeIntegralInRange<size_t>(0, 12);
  if (input.ConsumeIntegralInRange<int>(0, 15) == 0) length = 99;
  std::string name;
  for (size_t i = 0; i < length; ++i) {
    uint8_t pick = input.ConsumeIntegral<uint8_t>();
    char c = pick < 128 ? alphabet[pick % (sizeof alphabet - 1)] : static_cast<char>(pick);
    name += c ? c : 'x';
  }
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  std::string a = ConsumeName(input), b = ConsumeName(input), c = ConsumeName(input);

  int ab = Sign(CompareNoCase(a.c_str(), b.c_str()));
  if (ab != ReferenceCompare(a, b)) abort();
  if (ab != -Sign(CompareNoCase(b.c_str(), a.c_str()))) abort();
  if (CompareNoCase(a.c_str(), a.c_str()) != 0) abort();
  int bc = Sign(CompareNoCase(b.c_str(), c.c_str()));
  int ac = Sign(CompareNoCase(a.c_str(), c.c_str()));
  if (ab <= 0 && bc <= 0 && ac > 0) abort();
  if (ab == 0 && bc == 0 && ac != 0) abort();

  int count = input.ConsumeIntegralInRange<int>(0, kMaxSkins);
  std::vector<std::string> before;
  SkinName* names = new SkinName[kMaxSkins];  // exactly the catalogue's size
  for (int i = 0; i < count; ++i) {
    std::string name = i < 3 ? (i == 0 ? a : i == 1 ? b : c) : ConsumeName(input);
    memcpy(names[i], name.c_str(), name.size() + 1);
    before.push_back(name);
  }
  SortSkinNames(names, count);
  std::vector<std::string> after(names, names + count);
  for (int i = 0; i + 1 < count; ++i)
    if (CompareNoCase(names[i], names[i + 1]) > 0) abort();
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  if (before != after) abort();
  delete[] names;
  return 0;
}
