// The skin kit's drop of a large picture against decoding the same file alone: decoding (WIC),
// keying (its own alpha, magenta or a plain background), shrinking to fit half a screen and
// writing the skin's BMP, with the kit's own functions and build options, alternating with a
// decode alone so that both see the same load.
//   kit_bench OUTPUT_FOLDER RUNS PICTURE...
#include <windows.h>

#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#include <vector>

#include "bench/timing.h"
#include "skinkit/picture_files.h"
#include "skinkit/prepare_pixels.h"
#include "skinkit/skin_limits.h"
#include "skinkit/skin_pixels.h"

namespace {

// Decodes the picture and frees it again; the time in ms, or -1 if it did not decode.
double TimeDecode(const wchar_t* path) {
  double t0 = NowMs();
  DecodedPicture picture;
  PictureResult result = DecodePicture(path, &picture);
  FreePicture(&picture);
  return result == kPictureOk ? NowMs() - t0 : -1;
}

// What the drop does with the picture up to the skin's file; the time in ms, or -1.
double TimeDrop(const wchar_t* path, const wchar_t* out, int* width, int* height) {
  double t0 = NowMs();
  DecodedPicture picture;
  if (DecodePicture(path, &picture) != kPictureOk) return -1;
  PrepareOptions options = {1, 1, kDefaultAlphaThreshold};
  PreparedFacts facts;
  uint32_t* pixels = reinterpret_cast<uint32_t*>(picture.bgra);
  int made =
      PrepareSkinPixels(picture.bgra, picture.width, picture.height, &options, pixels, &facts);
  size_t size = Bmp24FileSize(facts.width, facts.height);
  uint8_t* file = made ? static_cast<uint8_t*>(malloc(size)) : NULL;
  WriteResult written = kWriteFailed;
  if (file) {
    WriteBmp24(pixels, facts.width, facts.height, file);
    written = ReplaceWholeFile(out, file, size);
  }
  free(file);
  FreePicture(&picture);
  *width = facts.width;
  *height = facts.height;
  return written == kWriteOk ? NowMs() - t0 : -1;
}

}  // namespace

int main() {
  setvbuf(stdout, NULL, _IONBF, 0);
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 4) {
    fprintf(stderr, "usage: kit_bench OUTPUT_FOLDER RUNS PICTURE...\n");
    return 2;
  }
  int runs = _wtoi(argv[2]);
  CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
  printf(
      "| picture | size | skin | runs | decode alone (ms) | drop: decode, key, shrink, write "
      "(ms) | drop / decode |\n|---|---:|---:|---:|---:|---:|---:|\n");
  for (int p = 3; p < argc; ++p) {
    const wchar_t* path = argv[p];
    const wchar_t* name = wcsrchr(path, L'\\') ? wcsrchr(path, L'\\') + 1 : path;
    wchar_t out[MAX_PATH];
    _snwprintf(out, MAX_PATH, L"%ls\\kit_bench.bmp", argv[1]);
    DecodedPicture picture;
    if (DecodePicture(path, &picture) != kPictureOk) {
      printf("| %ls | not decoded | | | | | |\n", name);
      continue;
    }
    int pictureWidth = picture.width, pictureHeight = picture.height, width = 0, height = 0;
    FreePicture(&picture);
    std::vector<double> decode, drop, ratio;
    for (int run = 0; run < runs; ++run) {
      double d = TimeDecode(path), k = TimeDrop(path, out, &width, &height);
      if (d < 0 || k < 0) continue;
      decode.push_back(d);
      drop.push_back(k);
      ratio.push_back(k / d);
    }
    DeleteFileW(out);
    printf("| %ls | %d x %d | %d x %d | %u | %.0f | %.0f | **%.2f** |\n", name, pictureWidth,
           pictureHeight, width, height, unsigned(decode.size()), Median(decode), Median(drop),
           Median(ratio));
  }
  printf(
      "\nMedians; each drop runs right after a decode alone of the same file, and the ratio is "
      "the median of those pairs' ratios.\n");
  CoUninitialize();
  LocalFree(argv);
  return 0;
}
