// Keying a plain background, shrinking with opacity-weighted averages, and the whole way from a
// decoded picture to a skin's pixel values. Every buffer is freed in the function that made it.
#include "skinkit/prepare_pixels.h"

#include <stdlib.h>
#include <string.h>

#include "skinkit/skin_limits.h"
#include "skinkit/skin_pixels.h"

static uint32_t ColourAt(const uint8_t* bgra, size_t i) {
  const uint8_t* p = bgra + 4 * i;
  return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

int ColourDistance(uint32_t a, uint32_t b) {
  int most = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
    if (d < 0) d = -d;
    if (d > most) most = d;
  }
  return most;
}

void FitInside(int width, int height, int maxWidth, int maxHeight, int* fitWidth, int* fitHeight) {
  *fitWidth = width;
  *fitHeight = height;
  if (width <= maxWidth && height <= maxHeight) return;
  int64_t w = width, h = height;
  if (w * maxHeight >= h * maxWidth) {  // the width is what limits
    *fitWidth = maxWidth;
    *fitHeight = int((h * maxWidth + w / 2) / w);
  } else {
    *fitHeight = maxHeight;
    *fitWidth = int((w * maxHeight + h / 2) / h);
  }
  if (*fitWidth < 1) *fitWidth = 1;
  if (*fitHeight < 1) *fitHeight = 1;
}

// Calls visit(index) for every dot of the border once.
template <typename Visit>
static void VisitBorder(int width, int height, Visit visit) {
  size_t w = size_t(width), last = size_t(height - 1) * w;
  for (size_t x = 0; x < w; ++x) {
    visit(x);
    if (height > 1) visit(last + x);
  }
  for (size_t y = 1; y + 1 < size_t(height); ++y) {
    visit(y * w);
    if (width > 1) visit(y * w + w - 1);
  }
}

// Of the four corners' colours, the one the most border dots are near.
int FindPlainBackground(const uint8_t* bgra, int width, int height, uint32_t* colour) {
  size_t w = size_t(width), h = size_t(height);
  const size_t corners[4] = {0, w - 1, (h - 1) * w, h * w - 1};
  size_t best = 0, border = 0;
  VisitBorder(width, height, [&](size_t) { ++border; });
  for (size_t corner : corners) {
    uint32_t candidate = ColourAt(bgra, corner);
    size_t near = 0;
    VisitBorder(width, height, [&](size_t i) {
      near += ColourDistance(ColourAt(bgra, i), candidate) <= kBackgroundTolerance;
    });
    if (near > best) best = near, *colour = candidate;
  }
  return best * 8 >= border * size_t(kBackgroundBorderEighths);
}

int WouldKeyBackground(const uint32_t* pixels, int width, int height, uint32_t* colour) {
  size_t count = size_t(width) * size_t(height);
  for (size_t i = 0; i < count; ++i) {
    if (pixels[i] == kSkinKey) return 0;
  }
  // The values are blue, green, red and a cleared byte in memory: BGRA bytes to the finder.
  if (!count ||
      !FindPlainBackground(reinterpret_cast<const uint8_t*>(pixels), width, height, colour))
    return 0;
  for (size_t i = 0; i < count; ++i) {
    if (ColourDistance(pixels[i], *colour) > kBackgroundTolerance) return 1;
  }
  return 0;
}

// A stack of dot indices that grows as needed.
struct IndexStack {
  uint32_t* items;
  size_t count, size;
};

static int Push(IndexStack* stack, size_t index) {
  if (stack->count == stack->size) {
    size_t size = stack->size ? stack->size * 2 : 1024;
    uint32_t* grown = static_cast<uint32_t*>(realloc(stack->items, size * sizeof(uint32_t)));
    if (!grown) return 0;
    stack->items = grown;
    stack->size = size;
  }
  stack->items[stack->count++] = uint32_t(index);
  return 1;
}

// What becomes of each dot while the background is keyed.
enum {
  kFar = 0,         // not the background's colour
  kNear = 1,        // the background's colour, not (yet) joined to the border
  kBackground = 2,  // joined to the border: alpha 0
  // kBackground + n: cut n dots deep into a soft edge
  kEdgeKept = 255,  // part of a soft edge, opaque enough to stay
};

// Marks kNear on every dot near the background's colour, kFar on the others.
static void MarkNear(const uint8_t* bgra, size_t count, uint32_t background, uint8_t* state) {
  const int blue = background & 0xFF, green = (background >> 8) & 0xFF, red = background >> 16;
  const unsigned span = 2 * kBackgroundTolerance;
  for (size_t i = 0; i < count; ++i, bgra += 4) {
    // A difference within the tolerance either way, in one unsigned comparison.
    state[i] = unsigned(bgra[0] - blue + kBackgroundTolerance) <= span &&
               unsigned(bgra[1] - green + kBackgroundTolerance) <= span &&
               unsigned(bgra[2] - red + kBackgroundTolerance) <= span;
  }
}

// Marks kBackground on every kNear dot joined to a seed, a row's stretch at a time. Returns the
// dots marked, or (size_t)-1 if memory ran out.
static size_t FloodBackground(int width, int height, uint8_t* state, IndexStack* seeds) {
  size_t w = size_t(width), marked = 0;
  while (seeds->count) {
    size_t i = seeds->items[--seeds->count];
    if (state[i] != kNear) continue;
    size_t y = i / w, left = i, right = i;
    while (left > y * w && state[left - 1] == kNear) --left;
    while (right + 1 < (y + 1) * w && state[right + 1] == kNear) ++right;
    memset(state + left, kBackground, right - left + 1);
    marked += right - left + 1;
    // One seed for each stretch of kNear dots above and below.
    for (int side = -1; side <= 1; side += 2) {
      if ((side < 0 && y == 0) || (side > 0 && y + 1 == size_t(height))) continue;
      const uint8_t* next = state + (y + side) * w;  // the next row
      int inStretch = 0;
      for (size_t x = left - y * w; x <= right - y * w; ++x) {
        int isNear = next[x] == kNear;
        if (isNear && !inStretch && !Push(seeds, (y + side) * w + x)) return size_t(-1);
        inStretch = isNear;
      }
    }
  }
  return marked;
}

// How opaque a dot must be to be the drawing's colour laid over the background (0 to 255), the
// least that keeps that colour within 0 to 255: the further from the background, the more.
static int OpacityOver(uint32_t colour, uint32_t background) {
  int most = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int c = int((colour >> shift) & 0xFF), b = int((background >> shift) & 0xFF);
    int alpha = c > b   ? ((c - b) * 255 + (254 - b)) / (255 - b)
                : c < b ? ((b - c) * 255 + b - 1) / b
                        : 0;
    if (alpha > most) most = alpha;
  }
  return most;
}

// Gives the dot at p the opacity it has over the background, and the drawing's colour in place
// of its mix with the background.
static void TakeApart(uint8_t* p, uint32_t background, int alpha) {
  p[3] = uint8_t(alpha);
  for (int k = 0; k < 3; ++k) {
    int b = int((background >> (8 * k)) & 0xFF);
    int c = alpha ? b + ((int(p[k]) - b) * 255 + (p[k] >= b ? alpha / 2 : -alpha / 2)) / alpha : b;
    p[k] = uint8_t(c < 0 ? 0 : c > 255 ? 255 : c);
  }
}

// 1 if a neighbour of the dot at x, y (left, right, up, down) was cut before this step.
static int TouchesCut(const uint8_t* state, int width, int height, int x, int y, int step) {
  const uint8_t* at = state + size_t(y) * size_t(width) + size_t(x);
  auto cut = [&](const uint8_t* s) { return *s >= kBackground && *s < kBackground + step; };
  return (x > 0 && cut(at - 1)) || (x + 1 < width && cut(at + 1)) || (y > 0 && cut(at - width)) ||
         (y + 1 < height && cut(at + width));
}

int KeyPlainBackground(uint8_t* bgra, int width, int height, int alphaThreshold,
                       PreparedFacts* facts) {
  uint32_t background = 0;
  if (!FindPlainBackground(bgra, width, height, &background)) return 0;
  size_t count = size_t(width) * size_t(height);
  uint8_t* state = static_cast<uint8_t*>(malloc(count));
  IndexStack seeds = {NULL, 0, 0};
  int pushed = state != NULL;
  if (state) MarkNear(bgra, count, background, state);
  VisitBorder(width, height, [&](size_t i) { pushed = pushed && Push(&seeds, i); });
  size_t cleared = pushed ? FloodBackground(width, height, state, &seeds) : size_t(-1);
  free(seeds.items);
  if (cleared == size_t(-1)) {
    free(state);
    return 0;
  }
  // The soft edge, one dot deeper each step: a dot that is nearer the background than the
  // threshold is cut, one that is not stays, in the drawing's own colour, and ends the edge.
  for (int step = 1; step <= kSoftEdgeDots; ++step) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        size_t i = size_t(y) * size_t(width) + size_t(x);
        if (state[i] > kNear || !TouchesCut(state, width, height, x, y, step)) continue;
        int alpha = OpacityOver(ColourAt(bgra, i), background);
        if (alpha < kSoftEdgeOpaque) TakeApart(bgra + 4 * i, background, alpha);
        state[i] = alpha < alphaThreshold ? uint8_t(kBackground + step) : uint8_t(kEdgeKept);
        cleared += alpha < alphaThreshold;
      }
    }
  }
  for (size_t i = 0; i < count; ++i) {
    if (state[i] == kBackground) bgra[4 * i + 3] = 0;
  }
  free(state);
  facts->backgroundKeyed = 1;
  facts->background = background;
  facts->backgroundDots = cleared;
  return 1;
}

int ShrinkPicture(const uint8_t* bgra, int width, int height, uint8_t* out, int fitWidth,
                  int fitHeight) {
  // Lengths in units of which a picture's dot is fitWidth (across) or fitHeight (down) and an
  // output dot width or height: every dot's share of an output dot is a whole number, and one
  // picture dot, being smaller, falls into at most two output dots each way.
  size_t w = size_t(fitWidth);
  uint32_t* firstColumn = static_cast<uint32_t*>(malloc(size_t(width) * sizeof(uint32_t)));
  uint32_t* firstShare = static_cast<uint32_t*>(malloc(size_t(width) * sizeof(uint32_t)));
  uint32_t* row = static_cast<uint32_t*>(malloc(w * 4 * sizeof(uint32_t)));
  uint64_t* sums = static_cast<uint64_t*>(calloc(2 * w * 4, sizeof(uint64_t)));
  int done = firstColumn && firstShare && row && sums;
  for (int x = 0; done && x < width; ++x) {
    int64_t start = int64_t(x) * fitWidth;
    firstColumn[x] = uint32_t(start / width);
    int64_t end = (int64_t(firstColumn[x]) + 1) * width;
    firstShare[x] = uint32_t(end - start < fitWidth ? end - start : fitWidth);
  }
  const uint64_t whole = uint64_t(width) * uint64_t(height);  // the units in one output dot
  for (int y = 0; done && y < height; ++y) {
    // Across: each colour times its alpha (premultiplied), times its share.
    memset(row, 0, w * 4 * sizeof(uint32_t));
    const uint8_t* p = bgra + size_t(y) * size_t(width) * 4;
    for (int x = 0; x < width; ++x, p += 4) {
      uint32_t alpha = p[3];
      if (!alpha) continue;
      const uint32_t dot[4] = {p[0] * alpha, p[1] * alpha, p[2] * alpha, alpha};
      uint32_t* to = row + size_t(firstColumn[x]) * 4;
      uint32_t share = firstShare[x], rest = uint32_t(fitWidth) - share;
      for (int k = 0; k < 4; ++k) to[k] += dot[k] * share;
      if (rest)
        for (int k = 0; k < 4; ++k) to[4 + k] += dot[k] * rest;
    }
    // Down: the row's share of the output rows it falls into.
    int64_t start = int64_t(y) * fitHeight;
    int64_t outY = start / height, end = (outY + 1) * height;
    uint64_t share = uint64_t(end - start < fitHeight ? end - start : fitHeight);
    uint64_t rest = uint64_t(fitHeight) - share;
    uint64_t* sum = sums + size_t(outY % 2) * w * 4;
    uint64_t* next = sums + size_t((outY + 1) % 2) * w * 4;
    for (size_t k = 0; k < w * 4; ++k) {
      sum[k] += row[k] * share;
      if (rest) next[k] += row[k] * rest;
    }
    if (!rest && start + fitHeight < end) continue;  // the output row is not whole yet
    // The output row is whole: colours back from premultiplied, alpha from the area.
    uint8_t* to = out + size_t(outY) * w * 4;
    for (size_t x = 0; x < w; ++x, to += 4) {
      const uint64_t* s = sum + x * 4;
      for (int k = 0; k < 3; ++k) to[k] = uint8_t(s[3] ? (s[k] + s[3] / 2) / s[3] : 0);
      to[3] = uint8_t((s[3] + whole / 2) / whole);
    }
    memset(sum, 0, w * 4 * sizeof(uint64_t));
  }
  free(sums);
  free(row);
  free(firstShare);
  free(firstColumn);
  return done;
}

int PrepareSkinPixels(uint8_t* bgra, int width, int height, const PrepareOptions* options,
                      uint32_t* out, PreparedFacts* facts) {
  memset(facts, 0, sizeof *facts);
  size_t count = size_t(width) * size_t(height);
  for (size_t i = 0; i < count; ++i) facts->alphaUsed |= bgra[4 * i + 3] != 255;
  // Without alpha, the kit says what is transparent by giving it alpha 0: then the shrinking
  // weighs it as nothing, and one rule (the alpha) keys every picture.
  int threshold = options->alphaThreshold;
  if (!facts->alphaUsed) {
    for (size_t i = 0; i < count; ++i) {
      if (ColourAt(bgra, i) != kSkinKey) continue;
      bgra[4 * i + 3] = 0;
      ++facts->magentaDots;
    }
    if (!facts->magentaDots && options->keyBackground)
      KeyPlainBackground(bgra, width, height, threshold > 0 ? threshold : 1, facts);
    if (threshold < 1) threshold = 1;  // what the kit made transparent is cut
  }
  facts->width = width;
  facts->height = height;
  if (options->fit)
    FitInside(width, height, kLargeSkinWidth, kLargeSkinHeight, &facts->width, &facts->height);
  const uint8_t* keyed = bgra;
  uint8_t* shrunk = NULL;
  if (facts->width != width || facts->height != height) {
    shrunk = static_cast<uint8_t*>(malloc(size_t(facts->width) * size_t(facts->height) * 4));
    if (!shrunk || !ShrinkPicture(bgra, width, height, shrunk, facts->width, facts->height)) {
      free(shrunk);
      return 0;
    }
    keyed = shrunk;
  }
  KeyCounts counts = KeyPixels(keyed, size_t(facts->width) * size_t(facts->height), threshold, out);
  free(shrunk);
  facts->cut = counts.cut;
  facts->nudged = counts.nudged;
  return 1;
}
