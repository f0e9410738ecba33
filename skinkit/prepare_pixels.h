// What the skin kit does to a decoded picture before it is a skin: it settles what is transparent
// (the picture's own alpha; else its exact magenta; else, when asked, a plain background around
// the drawing), shrinks a picture too big to sit on a title bar, and keys the result into the
// pixel values a skin is written from. Plain C++ without Windows headers. A picture is straight
// (not premultiplied) BGRA, 4 bytes a pixel, top row first, as the decoder gives it.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum {
  // The border's colour and the background around a drawing may stray this far from the
  // background's colour in each of red, green and blue: JPEG's noise, a canvas not quite flat.
  kBackgroundTolerance = 24,
  // Of the border, at least this many eighths are the background's colour: the drawing may touch
  // the edge (its feet at the bottom), but a photo's border is of many colours.
  kBackgroundBorderEighths = 6,
  // How many dots deep a soft (anti-aliased) edge against the background is undone.
  kSoftEdgeDots = 2,
  // A dot of a soft edge this opaque over the background, or more, is the drawing's own colour,
  // not a mix of it with the background: it stays as it is and ends the edge.
  kSoftEdgeOpaque = 192,
};

struct PrepareOptions {
  int keyBackground;   // make a plain background around the drawing transparent
  int fit;             // shrink to fit inside kLargeSkinWidth x kLargeSkinHeight
  int alphaThreshold;  // dots less opaque than this become the key
};

struct PreparedFacts {
  int alphaUsed;          // the picture's own alpha said what is transparent
  size_t magentaDots;     // in a picture without alpha: its exact-magenta dots, transparent
  int backgroundKeyed;    // a plain background was made transparent
  uint32_t background;    // its colour, 0x00RRGGBB
  size_t backgroundDots;  // its dots made transparent, counted at the picture's own size
  int width, height;      // the skin's size: less than the picture's when it was shrunk
  size_t cut;             // the skin's transparent dots (kSkinKey)
  size_t nudged;          // opaque exact magenta of the skin moved to kNudgedMagenta
};

// The size a width x height picture has once it fits inside maxWidth x maxHeight with its
// proportions kept (rounded, at least 1 x 1); its own size when it fits already.
void FitInside(int width, int height, int maxWidth, int maxHeight, int* fitWidth, int* fitHeight);

// The largest difference of red, green or blue between two colours (0x00RRGGBB).
int ColourDistance(uint32_t a, uint32_t b);

// 1 if at least kBackgroundBorderEighths of the border is one colour (one of the corners', within
// kBackgroundTolerance), which goes into colour. The fourth byte of each dot is not read.
int FindPlainBackground(const uint8_t* bgra, int width, int height, uint32_t* colour);

// 1 if a skin's pixel values (the working copy, either row order) have nothing cut and a plain
// background (into colour) with something else drawn on it: what a drop would make transparent.
int WouldKeyBackground(const uint32_t* pixels, int width, int height, uint32_t* colour);

// Makes a plain background transparent: when the picture is opaque and at least
// kBackgroundBorderEighths of its border is one colour (one of its corners' colours, within
// kBackgroundTolerance), every dot of that colour joined to the border through such dots (left,
// right, up, down) gets alpha 0, as a paint program's magic wand from the border would. A soft
// edge up to kSoftEdgeDots deep, and less opaque than kSoftEdgeOpaque, is taken apart into the
// drawing's colour and an alpha by how far each dot is from the background: nearer the background
// than alphaThreshold it is cut (and shrinking weighs only its share of the drawing's colour), so
// that no light fringe is left. Colour enclosed by the drawing
// stays. Returns 1 if it keyed (facts' background fields are set), 0 if the border is not one
// colour or memory ran out (the picture is then as it was).
int KeyPlainBackground(uint8_t* bgra, int width, int height, int alphaThreshold,
                       PreparedFacts* facts);

// Shrinks width x height into the smaller fitWidth x fitHeight: every dot of out is the average
// of the area it covers, each colour weighted by its opacity, so that a transparent dot's colour
// (the key's magenta, a background's white) bleeds into nothing. 0 if memory ran out.
int ShrinkPicture(const uint8_t* bgra, int width, int height, uint8_t* out, int fitWidth,
                  int fitHeight);

// Turns a decoded picture into a skin's pixel values (0x00RRGGBB, top row first, facts->width x
// facts->height of them) in out, which has room for width x height values and may be the same
// memory as bgra; bgra itself is changed on the way. The picture's own alpha decides what is cut
// if it uses it; else its exact magenta is the key; else, with keyBackground, a plain background.
// What the kit itself made transparent is cut whatever the threshold. Any cut dot becomes
// kSkinKey only after shrinking, and an opaque dot that is exactly magenta kNudgedMagenta.
// Returns 0 if memory ran out.
int PrepareSkinPixels(uint8_t* bgra, int width, int height, const PrepareOptions* options,
                      uint32_t* out, PreparedFacts* facts);
