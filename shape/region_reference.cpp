// The per-run union: the working copy and the scan of the program's builder, followed by one
// region union per run. Its cost grows with runs times region size; it is kept only to check and
// measure the program's builder against.
#include "shape/region_reference.h"

#include "shape/region.h"

// Adds one run to the accumulator region passed as context.
static void UniteRun(void* context, const PixelRun& run) {
  HRGN accumulator = static_cast<HRGN>(context);
  HRGN rect = CreateRectRgn(run.x0, run.y, run.x1, run.y + 1);
  CombineRgn(accumulator, accumulator, rect, RGN_OR);
  DeleteObject(rect);
}

HRGN CreateRegionFromBitmapPerRun(HBITMAP bitmap, DWORD transparent) {
  HRGN accumulator = CreateRectRgn(0, 0, 0, 0);
  if (!ScanBitmapRuns(bitmap, transparent, UniteRun, accumulator)) {
    DeleteObject(accumulator);
    return NULL;
  }
  return accumulator;
}
