// The accessory's outline: a region made of the picture's pixels minus one colour.
#pragma once
#include <stdint.h>
#include <windows.h>

// Builds a region in the bitmap's own coordinates (origin top-left) covering every pixel whose
// colour is not transparent (a 32-bit pixel value, 0x00RRGGBB). The bitmap may be of any depth; it
// is neither kept nor deleted. Returns a region the caller owns (empty if every pixel is
// transparent), or NULL if the bitmap is NULL, cannot be measured, or cannot be copied.
HRGN CreateRegionFromBitmap(HBITMAP bitmap, DWORD transparent);

// The working copy the shape is scanned from: a new 32-bit bottom-up DIB section holding the
// picture, with each pixel's unused fourth byte cleared; *pixels points at its width * height
// values, bottom row first. NULL if a context, the section or the copy fails. The caller deletes it.
HBITMAP CopyToWorkingPixels(HBITMAP bitmap, int width, int height, uint32_t** pixels);
