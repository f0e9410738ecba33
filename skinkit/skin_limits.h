// The limits the skin kit holds a skin against, named once. The rectangle counts are the ones
// measured under Wine on the performance page (docs/performance.md); when that page is measured
// again, bring them into step here.
#pragma once

#include "base/paths.h"
#include "base/skin_names.h"

enum {
  // From about this many rectangles in the shape, a whole repaint of the skin (its first paint,
  // and whenever a window that covered it goes away) takes longer than the follow timer's 100 ms
  // period: the accessory appears late and stands unpainted for a moment. Moving it costs next to
  // nothing for any skin Wine shows.
  kSlowShapeRects = 10000,
  // From about this many rectangles, Wine takes tens of seconds to show the window, or never does.
  kHiddenShapeRects = 25000,
  // Wider or taller pictures are refused before anything is allocated for them: far beyond any
  // title bar, and it keeps the kit's pixel buffers under 256 MB.
  kMaxPictureSide = 8192,
  // Pixels whose alpha is below this become the transparent colour when converting.
  kDefaultAlphaThreshold = 128,
  // A pixel is near-magenta when its red and blue are at least 255 minus this and its green at
  // most this: what anti-aliasing against magenta leaves at a picture's edges.
  kFringeTolerance = 64,
  // How many near-magenta pixels a report names by their coordinates.
  kFringeExamples = 5,
  // Names of at most this many bytes (without ".bmp") fit the skin catalogue.
  kMaxSkinNameBytes = kSkinNameSize - 1,
  // Perchling opens a skin by a path of at most this many bytes of the ANSI code page.
  kMaxSkinPathBytes = kPathSize - 1,
  // A picture wider or taller than half of a 1920 x 1080 screen covers too much of it to sit on a
  // title bar: the kit warns.
  kLargeSkinWidth = 960,
  kLargeSkinHeight = 540,
};
