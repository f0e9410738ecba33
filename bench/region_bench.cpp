// Times the shape builder against the per-run union on pictures of three kinds and growing size,
// and on the shipped skins; prints Markdown tables. Run by bench/run.sh under Wine.
//   region_bench SKIN_FOLDER     (a Windows path ending with a backslash)
// Each figure is the median of several builds of the same picture. The per-run union is skipped
// where it would take more than about a minute.
#include <stdio.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/timing.h"
#include "shape/pixel_runs.h"
#include "shape/region.h"
#include "shape/region_reference.h"

namespace {

const DWORD kMagenta = SKIN_KEY_COLOUR;
const DWORD kBody = 0x00E0A040;
const DWORD kDark = 0x00202020;
const double kReferenceLimitMs = 60000;  // the per-run union is tried only below this estimate

enum Kind { kSkinShape, kCheckerboard, kNoMagenta };
const char* const kKindNames[] = {"skin shape", "checkerboard", "no magenta"};

// The colour of pixel (x, y), top row first, of a size x size picture of the given kind. The skin
// shape is a bird-like disc with an eye hole and a slit, magenta around: two or three runs a row.
DWORD PixelOf(Kind kind, int size, int x, int y) {
  switch (kind) {
    case kCheckerboard:
      return (x + y) % 2 ? kMagenta : kBody;
    case kNoMagenta:
      return (x / 4 + y / 4) % 2 ? kBody : kDark;
    case kSkinShape: {
      int dx = 2 * x - size, dy = 2 * y - size;
      if (dx * dx + dy * dy > size * size * 81 / 100) return kMagenta;
      int ex = 2 * x - size * 13 / 10, ey = 2 * y - size * 7 / 10;
      if (ex * ex + ey * ey < size * size / 100) return kMagenta;  // the eye
      if (x == size / 3 && y > size / 2) return kMagenta;          // a slit between the wings
      return (x + y) % 7 ? kBody : kDark;
    }
  }
  return kMagenta;
}

// A device-dependent bitmap of the picture, as LoadImageA gives the program; pixels (bottom row
// first) receives the 32-bit values the scan will see.
HBITMAP MakePicture(Kind kind, int size, std::vector<uint32_t>* pixels) {
  pixels->resize(static_cast<size_t>(size) * size);
  for (int row = 0; row < size; ++row)
    for (int x = 0; x < size; ++x)
      (*pixels)[static_cast<size_t>(row) * size + x] = PixelOf(kind, size, x, size - 1 - row);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(NULL);
  HBITMAP picture =
      CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, pixels->data(), &info, DIB_RGB_COLORS);
  ReleaseDC(NULL, screen);
  return picture;
}

void CountRun(void* context, const PixelRun&) { ++*static_cast<size_t*>(context); }

typedef HRGN (*Builder)(HBITMAP, DWORD);

// Builds the region once and returns the time taken in milliseconds.
double TimeOneBuild(Builder build, HBITMAP picture) {
  double start = NowMs();
  HRGN region = build(picture, kMagenta);
  double elapsed = NowMs() - start;
  if (region) DeleteObject(region);
  return elapsed;
}

// The median of repeated builds: more repeats for quick builds, at least three.
double TimeBuild(Builder build, HBITMAP picture) {
  std::vector<double> times;
  times.push_back(TimeOneBuild(build, picture));
  int repeats = times[0] < 1 ? 101 : times[0] < 20 ? 21 : times[0] < 1000 ? 7 : 3;
  for (int i = 1; i < repeats; ++i) times.push_back(TimeOneBuild(build, picture));
  return Median(times);
}

void PrintMs(double ms) {
  if (ms < 1)
    printf(" %.3f |", ms);
  else if (ms < 100)
    printf(" %.1f |", ms);
  else
    printf(" %.0f |", ms);
}

void BenchKind(Kind kind) {
  printf("\n**%s**\n\n", kKindNames[kind]);
  printf("| size | runs | Perchling (ms) | per-run union (ms) | per-run / Perchling |\n");
  printf("|---:|---:|---:|---:|---:|\n");
  double lastReferenceMs = 0;
  size_t lastReferenceRuns = 0;
  for (int size = 64; size <= 1024; size *= 2) {
    std::vector<uint32_t> pixels;
    HBITMAP picture = MakePicture(kind, size, &pixels);
    size_t runs = 0;
    ScanPixelRuns(pixels.data(), size, size, kMagenta, CountRun, &runs);
    printf("| %d x %d | %u |", size, size, static_cast<unsigned>(runs));
    double fast = TimeBuild(CreateRegionFromBitmap, picture);
    PrintMs(fast);
    // The per-run union grows about with the square of the runs (more where rows cannot merge).
    double scale = lastReferenceRuns ? static_cast<double>(runs) / lastReferenceRuns : 1;
    double estimate = lastReferenceMs * scale * scale;
    if (estimate < kReferenceLimitMs) {
      double reference = TimeBuild(CreateRegionFromBitmapPerRun, picture);
      PrintMs(reference);
      printf(" %.0f |\n", reference / fast);
      lastReferenceMs = reference;
      lastReferenceRuns = runs;
    } else {
      printf(" (skipped: about %.0f s) | |\n", estimate / 1000);
    }
    fflush(stdout);
    DeleteObject(picture);
  }
}

// The skins in folder, loaded as the program loads them.
void BenchSkins(const std::string& folder) {
  printf("\n**shipped skins** (loaded with LoadImageA as the program does)\n\n");
  printf("| skin | size | Perchling (ms) | per-run union (ms) |\n");
  printf("|---|---:|---:|---:|\n");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.bmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string path = folder + found.cFileName;
    HBITMAP picture =
        static_cast<HBITMAP>(LoadImageA(NULL, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!picture) continue;
    BITMAP measured;
    GetObjectA(picture, sizeof measured, &measured);
    printf("| %s | %ld x %ld |", found.cFileName, measured.bmWidth, measured.bmHeight);
    PrintMs(TimeBuild(CreateRegionFromBitmap, picture));
    PrintMs(TimeBuild(CreateRegionFromBitmapPerRun, picture));
    printf("\n");
    DeleteObject(picture);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, NULL, _IONBF, 0);
  TimeBuild(CreateRegionFromBitmap, NULL);  // warms up the clock
  BenchKind(kSkinShape);
  BenchKind(kCheckerboard);
  BenchKind(kNoMagenta);
  if (argc > 1) BenchSkins(argv[1]);
  return 0;
}
