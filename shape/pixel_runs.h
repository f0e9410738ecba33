// The scan that turns a picture's 32-bit pixel values into horizontal runs of non-transparent
// pixels, the pieces the window's shape is made of. Plain C++ without Windows headers.
// The pixels are those of a bottom-up picture: the bottom row is stored first, so stored row i is
// row H - 1 - i counted from the top.
#pragma once
#include <stddef.h>
#include <stdint.h>

// Pure magenta as a 32-bit pixel value: the colour every skin has cut out of its window.
#define SKIN_KEY_COLOUR 0x00FF00FF

struct PixelRun {
  int y;   // row, counted from the top
  int x0;  // first pixel of the run
  int x1;  // one past the last pixel of the run
};

typedef void (*PixelRunSink)(void* context, const PixelRun& run);

// Calls sink for every run, in storage order (bottom row first, left to right), and returns how
// many there were. pixels holds width * height values with no gap between rows; a value equal to
// transparent (exactly, no tolerance) is cut out.
size_t ScanPixelRuns(const uint32_t* pixels, int width, int height, uint32_t transparent,
                     PixelRunSink sink, void* context);
