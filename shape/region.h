// The accessory's outline: a region made of the picture's pixels minus one colour.
#pragma once
#include <windows.h>

#include "shape/pixel_runs.h"

// Builds a region in the bitmap's own coordinates (origin top-left) covering every pixel whose
// colour is not transparent (a 32-bit pixel value, 0x00RRGGBB). The bitmap may be of any depth; it
// is neither kept nor deleted. Returns a region the caller owns (empty if every pixel is
// transparent), or NULL if the bitmap is NULL, cannot be measured, or cannot be copied, or if the
// regions cannot be made: the result is exactly the picture's shape or nothing.
HRGN CreateRegionFromBitmap(HBITMAP bitmap, DWORD transparent);

// Sets *count to the number of rectangles the platform keeps for the region (0 for an empty one).
// Alike rows next to each other are one rectangle, so it is often far below the number of runs.
// Returns 0, *count untouched, if the region cannot be read.
int CountRegionRects(HRGN region, size_t* count);

// Copies the picture (width x height, as measured) into a new 32-bit bottom-up DIB section with
// each pixel's unused fourth byte cleared, the copy the shape is scanned from; *pixels points at
// its width * height values. Returns the section, which the caller deletes, or NULL if a context,
// the section or the copy fails.
HBITMAP CopyToWorkingPixels(HBITMAP bitmap, int width, int height, uint32_t** pixels);

// Copies the picture into a 32-bit working copy (the unused fourth byte of each pixel cleared),
// calls sink for each of its runs of non-transparent pixels, and deletes the copy. Returns 0,
// without a call, if the bitmap is NULL or cannot be measured or copied.
int ScanBitmapRuns(HBITMAP bitmap, DWORD transparent, PixelRunSink sink, void* context);
