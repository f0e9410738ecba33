// Fuzzes the catalogue's filling: StripExtension against a plain reference, and AddSkinName's
// limits. Whatever the file names and their order, the catalogue never holds more than 100 names,
// never a name over 99 bytes, and holds the 100 eligible names (NAME.bmp, NAME not empty) that sort first (names equal but
// for the case of ASCII letters may stand for each other).
#include <fuzzer/FuzzedDataProvider.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/skin_names.h"

namespace {

// The name cut at its last dot, unless that dot is the first character.
std::string ReferenceStrip(const std::string& name) {
  size_t dot = name.rfind('.');
  return (dot == std::string::npos || dot == 0) ? name : name.substr(0, dot);
}

std::string ConsumeFileName(FuzzedDataProvider& input) {
  int shape = input.ConsumeIntegralInRange<int>(0, 7);
  std::string stem;
  if (shape == 0) {
    stem = std::string(input.ConsumeIntegralInRange<size_t>(97, 102), 'n');  // around the limit
  } else if (shape == 1) {
    stem = std::string(200, 'l');
  } else {
    size_t length = input.ConsumeIntegralInRange<size_t>(0, 6);
    const char alphabet[] = "aAbB._[`\x83\x5C";
    for (size_t i = 0; i < length; ++i)
      stem += alphabet[input.ConsumeIntegralInRange<size_t>(0, sizeof alphabet - 2)];
  }
  return stem + (input.ConsumeBool() ? ".bmp" : ".BMP");
}

// Fills a catalogue of exactly kMaxSkins entries from the files in order; checks its limits.
std::vector<std::string> Fill(const std::vector<std::string>& files) {
  SkinName* names = new SkinName[kMaxSkins];
  memset(names, 0x7F, sizeof(SkinName) * kMaxSkins);
  int count = 0;
  for (const std::string& file : files) {
    count = AddSkinName(names, count, file.c_str());
    if (count < 0 || count > kMaxSkins) abort();
  }
  for (int i = 0; i < count; ++i)
    if (memchr(names[i], 0, kSkinNameSize) == nullptr) abort();  // a name of 99 bytes at most
  SortSkinNames(names, count);
  std::vector<std::string> kept(names, names + count);
  delete[] names;
  return kept;
}

bool SameUpToCase(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (CompareNoCase(a[i].c_str(), b[i].c_str()) != 0) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);

  // StripExtension sees the name up to its first zero byte, as a C string.
  std::string raw = input.ConsumeRandomLengthString(300);
  std::string asCString = raw.substr(0, raw.find('\0'));
  std::vector<char> work(asCString.begin(), asCString.end());
  work.push_back(0);
  StripExtension(work.data());
  if (ReferenceStrip(asCString) != work.data()) abort();

  size_t fileCount = input.ConsumeIntegralInRange<size_t>(0, 160);
  std::vector<std::string> files;
  for (size_t i = 0; i < fileCount; ++i) files.push_back(ConsumeFileName(input));

  std::vector<std::string> eligible;
  for (const std::string& file : files) {
    // Only NAME.bmp is a skin: ".bmp" alone keeps its dot and names no skin. The alphabet spells
    // no device name.
    std::string name = ReferenceStrip(file);
    if (name.size() + 4 == file.size() && name.size() <= 99) eligible.push_back(name);
  }
  std::stable_sort(eligible.begin(), eligible.end(),
                   [](const std::string& a, const std::string& b) {
                     return CompareNoCase(a.c_str(), b.c_str()) < 0;
                   });
  if (eligible.size() > kMaxSkins) eligible.resize(kMaxSkins);

  std::vector<std::string> kept = Fill(files);
  if (!SameUpToCase(kept, eligible)) abort();
  std::reverse(files.begin(), files.end());
  if (!SameUpToCase(Fill(files), eligible)) abort();
  return 0;
}
