// The limits the skin kit holds a skin against, named once. The rectangle counts are the stricter
// of the two Wines measured on the performance page (docs/performance.md); when that page is
// measured again, bring them into step here.
#pragma once

#include "base/paths.h"
#include "base/skin_names.h"

enum {
  // From about this many rectangles in the shape, the accessory follows a moving window late:
  // under Wine 10 every hop rebuilds the shape from its rectangles a few times, at a cost that
  // grows with the square of their count, and passes the follow timer's 100 ms period here. Wine 10
  // sets this limit; under Wine 8 a hop costs next to nothing for any skin, and a whole repaint
  // (the first paint, and whenever a window that covered the skin goes away) passes 100 ms only
  // from about 10,000 rectangles, under either Wine.
  kSlowShapeRects = 6000,
  // From about this many rectangles, Wine may take tens of seconds to show the window on a busy
  // machine, or never paints it. Wine 8 sets this limit (it never painted 32,768 rectangles within
  // a minute; Wine 10 did).
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
  // Characters of a path the kit forms or reads (NAME.bmp in a folder), and bytes of a name it
  // judges: far beyond what Perchling opens, so what does not fit is certainly too long.
  kKitPathSize = 1024,
};
